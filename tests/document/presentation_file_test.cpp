#include "document/presentation_file.h"

#include <gtest/gtest.h>

#include "document/file_utils.h"
#include "document/presentation.h"
#include "document/profile.h"
#include "document/registry.h"
#include "document/settings.h"
#include "document/toolbar_buttons.h"
#include "platform/shares.h"
#include "support/fake_registry.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::FakeRegistry;
using testing::TempFolder;

class RecordingEvents final : public DocumentEvents {
  public:
    bool EditorOpen() const override { return editorOpen; }
    void RefillEditor() override { ++refills; }
    void AfterSave() override { ++saves; }
    bool editorOpen = false;
    int refills = 0;
    int saves = 0;
};

class PresentationFileTest : public ::testing::Test {
  protected:
    PresentationFileTest() {
        CreateButtonLists(buttons);
        for (auto& b : buttons.ToolNavButtons)
            b.Visible = true;
        for (auto& b : buttons.ToolRunButtons)
            b.Visible = true;
        fake.Put(HKEY_CURRENT_USER,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                 "Personal", temp.path());
    }

    void Load(const std::string& path, LoadOptions options = {}) {
        p.CurrentFile = path;
        LoadPresentation(p, context, path, options);
    }
    void LoadText(std::string_view text, std::string_view name = "show.tso") {
        Load(temp.Write(name, text));
    }
    std::string Save(const std::string& path) {
        std::string error;
        EXPECT_TRUE(SavePresentation(p, context, path, error)) << error;
        return TempFolder::Read(path);
    }

    TempFolder temp;
    FakeRegistry fake;
    Registry registry{fake};
    ProfileStore profiles;
    LinuxShareConnector shares;
    FileUtils files{shares, profiles};
    Presentation p;
    Settings settings{profiles, registry, p.CurrentFile};
    MachineSettings machine;
    ToolbarButtons buttons;
    HelpDocumentList help = BuildHelpDocuments("/tmp/t/");
    std::string startupFolder = "/kiosk/";
    RecordingEvents events;
    DocumentContext context{settings, files, machine, buttons, help, startupFolder, events, 0};
};

std::vector<std::string> Urls(const Presentation& p) {
    std::vector<std::string> urls;
    for (const auto& page : p.Pages)
        urls.push_back(page.URL);
    return urls;
}

TEST_F(PresentationFileTest, SectionsAreTakenInFileOrderByTheirPrefix) {
    LoadText(
        "[Page7]\r\nURL=http://seven/\r\n[Page2]\r\nURL= http://two/ \r\n"
        "[Pages]\r\nURL=http://pages/\r\n[page_x]\r\nURL=http://lower/\r\n"
        "[Page3]\r\nURL=   \r\n[Page4]\r\nTime=5\r\n[Pag]\r\nURL=http://no/\r\n"
        "[Exclude9]\r\nURL=http://ex/\r\n[IncludeA]\r\nURL=http://in/\r\n"
        "[Include2]\r\nURL=\r\n[Unknown]\r\nURL=http://unknown/\r\n");
    EXPECT_EQ(Urls(p), (std::vector<std::string>{"http://seven/", "http://two/", "http://pages/",
                                                 "http://lower/"}));
    EXPECT_EQ(p.Include, std::vector<std::string>{"http://in/"});
    EXPECT_EQ(p.Exclude, std::vector<std::string>{"http://ex/"});
}

TEST_F(PresentationFileTest, MissingKeysTakeTheirDefaults) {
    machine.ScreenSaveTimeOut = 120;
    LoadText("[Tessaro]\r\nHomeURL=  \r\nDefaultTime=abc\r\n[Page1]\r\nURL=a\r\n");
    EXPECT_EQ(p.HomeURL, "about:blank");
    EXPECT_FALSE(p.AutoHome);
    EXPECT_TRUE(p.AutoLoop);
    EXPECT_EQ(p.DefaultTime, 10);
    EXPECT_TRUE(p.WaitComplete);
    EXPECT_EQ(p.MaxTime, 120);
    EXPECT_TRUE(p.AllowRestrictions);
    EXPECT_EQ(p.CurrentPage, 1);
    ASSERT_EQ(p.Pages.size(), 1u);
    EXPECT_TRUE(p.Pages[0].UseDefaultTime);
    EXPECT_EQ(p.Pages[0].Time, 10);
}

TEST_F(PresentationFileTest, OptionsAndPageTimesAreRead) {
    LoadText(
        "[tessaro]\r\nhomeurl=http://home/\r\nAutoHome=yes\r\nAutoLoop=0\r\nDefaultTime=7\r\n"
        "WaitComplete=No\r\nMaxTime=&h1E\r\nAllowRestrictions=off\r\nFirstPage=9\r\n"
        "[Page1]\r\nURL=a\r\n[Page2]\r\nURL=b\r\nDefaultTime=False\r\nTime=3\r\n"
        "[Page3]\r\nURL=c\r\nDefaultTime=False\r\n[Page4]\r\nURL=d\r\nTime=4\r\n");
    EXPECT_EQ(p.HomeURL, "http://home/");
    EXPECT_TRUE(p.AutoHome);
    EXPECT_FALSE(p.AutoLoop);
    EXPECT_FALSE(p.WaitComplete);
    EXPECT_EQ(p.MaxTime, 30);
    EXPECT_FALSE(p.AllowRestrictions);
    EXPECT_EQ(p.CurrentPage, 9);  // beyond the last page: the player shows the help index
    ASSERT_EQ(p.Pages.size(), 4u);
    EXPECT_EQ(p.Pages[0].Time, 7);
    EXPECT_FALSE(p.Pages[1].UseDefaultTime);
    EXPECT_EQ(p.Pages[1].Time, 3);
    EXPECT_FALSE(p.Pages[2].UseDefaultTime);
    EXPECT_EQ(p.Pages[2].Time, 7);
    EXPECT_TRUE(p.Pages[3].UseDefaultTime);  // a stored time still loads
    EXPECT_EQ(p.Pages[3].Time, 4);
}

TEST_F(PresentationFileTest, SnapForcesOneSecondDefault) {
    machine.Snap = true;
    LoadText("[Tessaro]\r\nDefaultTime=30\r\n[Page1]\r\nURL=a\r\n[Page2]\r\nURL=b\r\nTime=8\r\n");
    EXPECT_EQ(p.DefaultTime, 1);
    EXPECT_EQ(p.Pages[0].Time, 1);
    EXPECT_EQ(p.Pages[1].Time, 8);
}

TEST_F(PresentationFileTest, SavedFileHasItsFixedLayout) {
    p.HomeURL = "http://home/";
    p.Pages = {{"http://a/", true, 10}, {"http://b/", false, 10}, {"http://c/", false, 25}};
    p.Include = {"http://a/"};
    buttons.ToolRunButtons[4].Visible = false;
    buttons.ToolRunButtons[1].HelpTip = "Hold";
    buttons.ToolNavButtons[0].Icon = "/kiosk/pics/back.gif";
    buttons.ToolNavUrlVisible = false;
    machine.OnMouseMove = 2;
    p.Modified = true;
    const std::string path = temp.File("out.tso");
    const std::string text = Save(path);

    std::string expected =
        ";This is a Pagelark file\r\n"
        ";Use this file to create a Web kiosk, get the software at:\r\n"
        ";    https://pagelark.example.org/\r\n"
        "[Tessaro]\r\nHomeURL=http://home/\r\nAutoHome=No\r\nAutoLoop=Yes\r\nDefaultTime=10\r\n"
        "ScreenSaveActive=Yes\r\nScreenSaveTimeOut=300\r\nOnMouseMove=2\r\n"
        "[Page1]\r\nURL=http://a/\r\n"
        "[Page2]\r\nURL=http://b/\r\nDefaultTime=False\r\n"
        "[Page3]\r\nURL=http://c/\r\nDefaultTime=False\r\nTime=25\r\n"
        "[Include1]\r\nURL=http://a/\r\n";
    auto button = [](std::string_view section, std::string_view tip, std::string_view icon,
                     bool visible) {
        return "[" + std::string(section) + "]\r\nHelpTip=" + std::string(tip) +
               "\r\nIcon=" + std::string(icon) + "\r\nVisible=" + (visible ? "Yes" : "No") + "\r\n";
    };
    for (const auto& b : buttons.ToolRunButtons)
        expected += button("ToolRun" + b.Name, b.HelpTip, "", b.Visible);
    for (const auto& b : buttons.ToolNavButtons)
        expected +=
            button("ToolNav" + b.Name, b.HelpTip, b.Icon.empty() ? "" : "pics/back.gif", true);
    expected += "[ToolNavURL]\r\nVisible=No\r\n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(p.CurrentFile, path);
    EXPECT_FALSE(p.Modified);
    EXPECT_EQ(events.saves, 1);
}

TEST_F(PresentationFileTest, LoadSaveLoadKeepsThePresentation) {
    LoadText(
        "[Page7]\r\nURL=http://seven/\r\n[Page2]\r\nURL=http://two/\r\nDefaultTime=no\r\n"
        "Time=10\r\n[Tessaro]\r\nDefaultTime=10\r\nAutoHome=Yes\r\nHomeURL=h\r\n"
        "[Exclude1]\r\nURL=http://x/\r\nWaitComplete=No\r\n");
    const Presentation first = p;
    const std::string copy = temp.File("copy.tso");
    const std::string saved = Save(copy);
    EXPECT_NE(saved.find("[Page1]\r\nURL=http://seven/"), std::string::npos);
    EXPECT_NE(saved.find("[Page2]\r\nURL=http://two/\r\nDefaultTime=False\r\n[Exclude1]"),
              std::string::npos);  // Time equal to the default is left out
    Load(copy);
    EXPECT_EQ(Urls(p), Urls(first));
    EXPECT_EQ(p.Pages[1].UseDefaultTime, false);
    EXPECT_EQ(p.Pages[1].Time, 10);
    EXPECT_EQ(p.Exclude, first.Exclude);
    EXPECT_EQ(p.HomeURL, "h");
    EXPECT_TRUE(p.AutoHome);
    // A second save of the reloaded presentation gives the same bytes.
    EXPECT_EQ(Save(temp.File("copy2.tso")), saved);
}

TEST_F(PresentationFileTest, HandWrittenKeysTakeEffectButAreNotSaved) {
    LoadText(
        "[Tessaro]\r\nWaitComplete=No\r\nMaxTime=20\r\nFirstPage=2\r\nAllowRestrictions=No\r\n");
    EXPECT_FALSE(p.WaitComplete);
    const std::string path = temp.File("show.tso");
    const std::string saved = Save(path);
    for (const char* key : {"WaitComplete", "MaxTime", "FirstPage", "AllowRestrictions"})
        EXPECT_EQ(saved.find(key), std::string::npos) << key;
    Load(path);
    EXPECT_TRUE(p.WaitComplete);
    EXPECT_EQ(p.CurrentPage, 1);
}

TEST_F(PresentationFileTest, PagesUsingTheDefaultFollowANewDefault) {
    LoadText("[Tessaro]\r\nDefaultTime=10\r\n[Page1]\r\nURL=a\r\n");
    p.DefaultTime = 20;
    const std::string path = temp.File("show.tso");
    Save(path);
    EXPECT_EQ(p.Pages[0].Time, 10);  // the model keeps what it had
    Load(path);
    EXPECT_EQ(p.Pages[0].Time, 20);
}

TEST_F(PresentationFileTest, EmptyTsoFileReceivesTheStarter) {
    const std::string path = temp.Write("Empty.TsO", "");
    Load(path);
    EXPECT_EQ(p.HomeURL, "/tmp/t/Pagelark/index.html");  // the starter's options...
    EXPECT_TRUE(p.Pages.empty());                        // ...but its pages only next time
    EXPECT_EQ(TempFolder::Read(path),
              "[Tessaro]\r\nHomeURL=/tmp/t/Pagelark/index.html\r\n"
              "[Page1]\r\nURL=/tmp/t/Pagelark/pagelark.html\r\n"
              "[Page2]\r\nURL=/tmp/t/Pagelark/link.html\r\n"
              "[Page3]\r\nURL=/tmp/t/Pagelark/documentation.html\r\n");
    Load(path);
    EXPECT_EQ(Urls(p), (std::vector<std::string>{help[1], help[2], help[3]}));
}

TEST_F(PresentationFileTest, StarterIsOnlyForEmptyTsoFilesWhenAllowed) {
    const std::string other = temp.Write("notes.txt", "");
    Load(other);
    EXPECT_EQ(TempFolder::Read(other), "");
    const std::string looked = temp.Write("look.tso", "; only a comment\r\n");
    Load(looked, LoadOptions{.writeStarter = false});
    EXPECT_EQ(TempFolder::Read(looked), "; only a comment\r\n");
    EXPECT_EQ(p.HomeURL, "about:blank");
}

TEST_F(PresentationFileTest, LoadTellsTheEditorAndClearsFlags) {
    p.Modified = true;
    p.EditorLoaded = true;
    LoadText("[Page1]\r\nURL=a\r\n");
    EXPECT_EQ(events.refills, 0);
    EXPECT_FALSE(p.Modified);
    EXPECT_FALSE(p.EditorLoaded);
    events.editorOpen = true;
    LoadText("[Page1]\r\nURL=a\r\n");
    EXPECT_EQ(events.refills, 1);
}

TEST_F(PresentationFileTest, DefaultFileIsRecognisedWithItsExactCase) {
    Load(temp.Write("Pagelark.TSO", ""));
    EXPECT_TRUE(p.IsDefaultFile);
    Load(temp.Write("pagelark.tso", ""));
    EXPECT_FALSE(p.IsDefaultFile);  // another file on this system
}

TEST_F(PresentationFileTest, FailedSaveKeepsTheOldFileAndTheState) {
    const std::string path = temp.Write("keep.tso", "[Page1]\r\nURL=old\r\n");
    Load(path);
    p.Modified = true;
    std::string error;
    const std::string blocked = temp.Write("plain", "x") + "/show.tso";
    EXPECT_FALSE(SavePresentation(p, context, blocked, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(p.CurrentFile, path);
    EXPECT_TRUE(p.Modified);
    EXPECT_EQ(events.saves, 0);
    EXPECT_EQ(TempFolder::Read(path), "[Page1]\r\nURL=old\r\n");
    // The profile cache holds nothing for the failed target afterwards.
    EXPECT_EQ(profiles.ReadProfileString("Tessaro", "AutoLoop", blocked), "");
}

TEST_F(PresentationFileTest, SaveReplacesEveryOldSection) {
    const std::string path =
        temp.Write("show.tso", "[Page1]\r\nURL=a\r\n[Page2]\r\nURL=b\r\n[Custom]\r\nX=1\r\n");
    Load(path);
    p.Pages.pop_back();
    const std::string saved = Save(path);
    EXPECT_EQ(saved.find("[Page2]"), std::string::npos);
    EXPECT_EQ(saved.find("[Custom]"), std::string::npos);
    Load(path);
    EXPECT_EQ(Urls(p), std::vector<std::string>{"a"});
}

TEST_F(PresentationFileTest, BadFilesLoadWithDefaults) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 37) % 256);
    std::string manySections;
    for (int i = 0; i < 100000; ++i)
        manySections += "[Page" + std::to_string(i) + "]\nURL=u\n";
    const std::vector<std::string> inputs = {
        "",
        binary,
        std::string("[Page1]\0\r\nURL=a\0b\r\n", 19),
        std::string(3 * 1024 * 1024, 'x'),
        "[Page1]URL=a[Page2]",
        "[Page1]\rURL=a\r[Page2]\rURL=b",
        "[Page1]\r\nURL=" + std::string(1024 * 1024, 'u') + "\r\n",
        manySections,
    };
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        LoadText(inputs[i], "bad" + std::to_string(i) + ".txt");
        EXPECT_EQ(p.DefaultTime, 10) << i;
    }
    EXPECT_EQ(p.Pages.size(), 100000u);
    LoadText("[Page1]\rURL=a\r[Page2]\rURL=b", "cr.txt");
    EXPECT_EQ(Urls(p), (std::vector<std::string>{"a", "b"}));
    Load(temp.path());  // a folder
    EXPECT_TRUE(p.Pages.empty());
    Load(temp.File("missing.tso"));
    EXPECT_TRUE(p.Pages.empty());
    EXPECT_FALSE(FileExists(temp.File("missing.tso")));  // only the default file is created
}

TEST(PresentationModel, PositionZeroIsTheHelpIndex) {
    Presentation p;
    const HelpDocumentList help = BuildHelpDocuments("/tmp/");
    std::string address;
    std::int32_t seconds = 0;
    ASSERT_TRUE(PageAt(p, help, 0, address, seconds));
    EXPECT_EQ(address, "/tmp/Pagelark/index.html");
    EXPECT_EQ(seconds, 2);
    EXPECT_EQ(PageCount(p), 0);
    p.Pages = {{"http://a/", true, 15}};
    ASSERT_TRUE(PageAt(p, help, 1, address, seconds));
    EXPECT_EQ(address, "http://a/");
    EXPECT_EQ(seconds, 15);
    EXPECT_FALSE(PageAt(p, help, 2, address, seconds));
}

TEST(PresentationModel, UntouchedStarterIsRecognised) {
    const HelpDocumentList help = BuildHelpDocuments("/tmp/");
    Presentation p;
    p.HomeURL = help[0];
    p.Pages = {{help[1], true, 10}, {help[2], true, 10}, {help[3], true, 10}};
    EXPECT_TRUE(IsUntouchedStarter(p, help));
    p.Pages.pop_back();  // a page deleted: still the starter
    EXPECT_TRUE(IsUntouchedStarter(p, help));
    p.Pages[1].UseDefaultTime = false;
    EXPECT_FALSE(IsUntouchedStarter(p, help));
    p.Pages = {{help[1], true, 10}, {help[2], true, 10}, {help[3], true, 10}, {"x", true, 10}};
    EXPECT_FALSE(IsUntouchedStarter(p, help));  // a page added: the operator's now
    p.Pages = {{help[2], true, 10}};
    EXPECT_FALSE(IsUntouchedStarter(p, help));
    p.Pages.clear();
    p.HomeURL = "about:blank";
    EXPECT_FALSE(IsUntouchedStarter(p, help));
}

TEST(PresentationModel, NewKeepsThePlayOptions) {
    Presentation p;
    p.Pages = {{"a", true, 1}};
    p.Include = {"i"};
    p.HomeURL = "about:blank";
    p.WaitComplete = false;
    p.MaxTime = 9;
    p.AllowRestrictions = false;
    p.DefaultTime = 3;
    p.Modified = true;
    p.EditorLoaded = true;
    DocumentEvents events;
    NewPresentation(p, events);
    EXPECT_TRUE(p.Pages.empty());
    EXPECT_TRUE(p.Include.empty());
    EXPECT_EQ(p.HomeURL, "");
    EXPECT_EQ(p.DefaultTime, 10);
    EXPECT_FALSE(p.WaitComplete);
    EXPECT_EQ(p.MaxTime, 9);
    EXPECT_FALSE(p.AllowRestrictions);
    EXPECT_FALSE(p.Modified);
    EXPECT_FALSE(p.EditorLoaded);
    MarkModified(p);
    EXPECT_FALSE(p.Modified);  // filling the editor is no change
    p.EditorLoaded = true;
    MarkModified(p);
    EXPECT_TRUE(p.Modified);
}

}  // namespace
}  // namespace pagelark
