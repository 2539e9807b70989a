#include "document/file_commands.h"

#include <gtest/gtest.h>

#include "support/document_world.h"

namespace pagelark::testing {
namespace {

// Records every dialog as one line and answers from the test's script.
class FakeDialogs final : public FileDialogs {
  public:
    std::string OpenFileDialog(const std::string&, const std::string&, std::string_view, int,
                               const std::string& title) override {
        calls.push_back(title);
        return path;
    }
    std::string SaveFileDialog(const std::string&, const std::string& name, std::string_view, int,
                               const std::string& extension, const std::string& title) override {
        calls.push_back(title + " " + name + " " + extension);
        return path;
    }
    Answer AskSaveChanges(const std::string& text) override {
        calls.push_back(text);
        return answer;
    }
    void ShowError(const std::string& text) override { calls.push_back("Error " + text); }

    Answer answer = Answer::Cancel;
    std::string path;  // what the file dialogs return
    std::vector<std::string> calls;
};

class FileCommandTest : public ::testing::Test, public DocumentWorld {
  protected:
    FileCommandTest() {
        p.CurrentFile = show;
        LoadPresentation(p, context, show);
        p.Pages[0].URL = "edited";
        p.Modified = true;
    }
    bool Run(FileCommandId command) { return FileCommand(command, p, context, dialogs).done; }
    // Nothing was replaced, nothing saved.
    void ExpectUntouched() {
        EXPECT_EQ(std::tuple(p.CurrentFile, p.Modified, p.Pages[0].URL),
                  std::tuple(show, true, "edited"));
        EXPECT_EQ(TempFolder::Read(show), "[Page1]\r\nURL=old\r\n");
    }

    FakeDialogs dialogs;
    std::string show = temp.Write("show.tso", "[Page1]\r\nURL=old\r\n");
};

TEST_F(FileCommandTest, NewAsksFirstAndNamesTheFileWithoutWriting) {
    EXPECT_FALSE(Run(FileCommandId::New));  // Cancel
    ExpectUntouched();
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"Save changes to \"" + show + "\"?"});

    dialogs.answer = Answer::No;
    p.MaxTime = 9;  // a play option: New keeps it
    const FileCommandResult result = FileCommand(FileCommandId::New, p, context, dialogs);
    const std::string noName = temp.File("NoName.tso");
    EXPECT_EQ(result.caption, noName + " - Pagelark");
    EXPECT_EQ(std::tuple(p.CurrentFile, p.Modified, p.Pages.size(), p.MaxTime),
              std::tuple(noName, false, 0u, 9));
    EXPECT_FALSE(FileExists(noName));
    EXPECT_TRUE(Run(FileCommandId::Save));  // no dialog: New gave the name
    EXPECT_EQ(std::tuple(FileExists(noName), dialogs.calls.size()), std::tuple(true, 2u));
}

TEST_F(FileCommandTest, YesSavesBeforeOpenReplacesTheModel) {
    dialogs.answer = Answer::Yes;
    dialogs.path = temp.Write("other.tso", "[Page1]\r\nURL=other\r\n");
    EXPECT_TRUE(Run(FileCommandId::Open));
    EXPECT_NE(TempFolder::Read(show).find("URL=edited"), std::string::npos);
    EXPECT_EQ(std::tuple(p.CurrentFile, p.Pages[0].URL, p.Modified),
              std::tuple(dialogs.path, "other", false));
}

TEST_F(FileCommandTest, CancelledDialogsChangeNothing) {
    EXPECT_FALSE(Run(FileCommandId::SaveAs));
    p.Modified = false;
    EXPECT_FALSE(Run(FileCommandId::Open));
    p.Modified = true;
    ExpectUntouched();
    p.CurrentFile.clear();  // Save without a name is Save As
    EXPECT_FALSE(Run(FileCommandId::Save));
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"File Save As show.tso .tso", "File Open",
                                                       "File Save As  .tso"}));
}

TEST_F(FileCommandTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    dialogs.path = temp.File("missing/show.tso");
    EXPECT_FALSE(Run(FileCommandId::SaveAs));
    ExpectUntouched();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_TRUE(dialogs.calls[1].starts_with("Error ") &&
                dialogs.calls[1].find("\"" + dialogs.path + "\": ") != std::string::npos &&
                !dialogs.calls[1].ends_with(": "))
        << dialogs.calls[1];

    // Yes to the question, and that save fails: the changes stay and nothing replaces them.
    dialogs.answer = Answer::Yes;
    p.CurrentFile = dialogs.path;
    EXPECT_FALSE(Run(FileCommandId::New));
    EXPECT_EQ(std::tuple(p.CurrentFile, p.Modified, p.Pages[0].URL, dialogs.calls.size()),
              std::tuple(dialogs.path, true, "edited", 4u));
}

}  // namespace
}  // namespace pagelark::testing
