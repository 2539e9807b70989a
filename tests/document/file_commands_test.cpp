#include "document/file_commands.h"

#include <gtest/gtest.h>

#include <deque>

#include "document/file_utils.h"
#include "document/presentation.h"
#include "document/presentation_file.h"
#include "document/profile.h"
#include "document/registry.h"
#include "document/settings.h"
#include "document/toolbar_buttons.h"
#include "platform/shares.h"
#include "support/fake_registry.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

class FakeDialogs final : public FileDialogs {
  public:
    std::string OpenFileDialog(const std::string&, const std::string&, std::string_view, int,
                               const std::string& title) override {
        calls.push_back("open " + title);
        return Next();
    }
    std::string SaveFileDialog(const std::string&, const std::string& fileName, std::string_view,
                               int, const std::string& extension,
                               const std::string& title) override {
        calls.push_back("save " + fileName + " " + extension + " " + title);
        return Next();
    }
    Answer AskSaveChanges(const std::string& text) override {
        calls.push_back(text);
        return answer;
    }
    void ShowError(const std::string& text) override { calls.push_back("error " + text); }

    std::string Next() {
        std::string path = paths.empty() ? "" : paths.front();
        if (!paths.empty()) paths.pop_front();
        return path;
    }
    Answer answer = Answer::Cancel;
    std::deque<std::string> paths;  // what the dialogs return, "" when none is left
    std::vector<std::string> calls;
};

class FileCommandTest : public ::testing::Test {
  protected:
    FileCommandTest() {
        fake.Put(RegRoot::CurrentUser,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                 "Personal", temp.path());
        show = temp.Write("show.tso", "[Page1]\r\nURL=old\r\n");
        p.CurrentFile = show;
        LoadPresentation(p, context, show);
        p.Pages[0].URL = "edited";
        p.Modified = true;
    }
    FileCommandResult Run(FileCommandId command) {
        return FileCommand(command, p, context, dialogs);
    }
    // The model as it was before the command: nothing was replaced or saved.
    void ExpectUntouched(const FileCommandResult& result) {
        EXPECT_FALSE(result.done);
        EXPECT_EQ(std::tuple(p.CurrentFile, p.Modified, p.Pages.size()),
                  std::tuple(show, true, 1u));
        EXPECT_EQ(p.Pages[0].URL, "edited");
        EXPECT_EQ(TempFolder::Read(show), "[Page1]\r\nURL=old\r\n");
    }

    TempFolder temp;
    testing::FakeRegistry fake;
    Registry registry{fake};
    ProfileStore profiles;
    std::unique_ptr<ShareConnector> shares = SystemShareConnector();
    FileUtils files{*shares, profiles};
    Presentation p;
    Settings settings{profiles, registry, p.CurrentFile};
    MachineSettings machine;
    ToolbarButtons buttons;
    HelpDocumentList help = BuildHelpDocuments("/tmp/t/");
    std::string startupFolder = "/kiosk/";
    DocumentEvents events;
    DocumentContext context{settings, files, machine, buttons, help, startupFolder, events, 0};
    FakeDialogs dialogs;
    std::string show;
};

TEST_F(FileCommandTest, NewAsksFirstAndCancelKeepsEverything) {
    ExpectUntouched(Run(FileCommandId::New));
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"Save changes to \"" + show + "\"?"});

    dialogs.answer = Answer::No;
    const FileCommandResult result = Run(FileCommandId::New);
    const std::string noName = temp.File("NoName.tso");
    EXPECT_EQ(std::tuple(result.done, result.caption), std::tuple(true, noName + " - Pagelark"));
    EXPECT_EQ(std::tuple(p.CurrentFile, p.Modified, p.Pages.size()), std::tuple(noName, false, 0u));
    EXPECT_FALSE(FileExists(noName));
    EXPECT_EQ(TempFolder::Read(show), "[Page1]\r\nURL=old\r\n");  // the changes were dropped

    // New already named the file, so Save asks for no name.
    dialogs.calls.clear();
    EXPECT_TRUE(Run(FileCommandId::Save).done);
    EXPECT_TRUE(FileExists(noName));
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(FileCommandTest, YesSavesBeforeTheModelIsReplaced) {
    dialogs.answer = Answer::Yes;
    dialogs.paths = {temp.Write("other.tso", "[Page1]\r\nURL=other\r\n")};
    const FileCommandResult result = Run(FileCommandId::Open);
    EXPECT_NE(TempFolder::Read(show).find("URL=edited"), std::string::npos);
    EXPECT_EQ(dialogs.calls.back(), "open File Open");
    EXPECT_EQ(result.caption, temp.File("other.tso") + " - Pagelark");
    EXPECT_EQ(std::tuple(p.Pages[0].URL, p.Modified), std::tuple("other", false));

    // An Open cancelled in its dialog changes nothing.
    p.Modified = false;
    EXPECT_FALSE(Run(FileCommandId::Open).done);
    EXPECT_EQ(std::tuple(p.CurrentFile, p.Pages[0].URL),
              std::tuple(temp.File("other.tso"), "other"));
}

TEST_F(FileCommandTest, SaveAsCancelledChangesNothing) {
    ExpectUntouched(Run(FileCommandId::SaveAs));
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"save show.tso .tso File Save As"});
    // Without a file name Save is Save As.
    p.CurrentFile.clear();
    EXPECT_FALSE(Run(FileCommandId::Save).done);
    EXPECT_EQ(dialogs.calls.back(), "save  .tso File Save As");
}

TEST_F(FileCommandTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    const std::string blocked = temp.File("missing/show.tso");
    dialogs.paths = {blocked};
    ExpectUntouched(Run(FileCommandId::SaveAs));
    ASSERT_EQ(dialogs.calls.size(), 2u);
    const std::string& error = dialogs.calls[1];
    EXPECT_EQ(error.rfind("error ", 0), 0u) << error;
    EXPECT_NE(error.find("\"" + blocked + "\": "), std::string::npos) << error;
    EXPECT_GT(error.size(), error.find(": ") + 2) << "no reason given: " << error;

    // Yes in the question with a save that fails: the changes stay, nothing is replaced.
    dialogs.calls.clear();
    dialogs.answer = Answer::Yes;
    p.CurrentFile = blocked;
    const FileCommandResult result = Run(FileCommandId::New);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(std::tuple(p.CurrentFile, p.Modified, p.Pages[0].URL),
              std::tuple(blocked, true, "edited"));
    EXPECT_EQ(dialogs.calls.size(), 2u);  // the question, then the error
}

}  // namespace
}  // namespace pagelark
