#include "document/file_commands.h"

#include <gtest/gtest.h>

#include "support/document_world.h"
#include "support/recording_dialogs.h"

namespace pagelark::testing {
namespace {

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

    RecordingDialogs dialogs;
    std::string show = temp.Write("show.tso", "[Page1]\r\nURL=old\r\n");
};

TEST_F(FileCommandTest, NewAsksFirstAndNamesTheFileWithoutWriting) {
    EXPECT_FALSE(Run(FileCommandId::New));  // Cancel
    ExpectUntouched();
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"ask Save changes to \"" + show + "\"?"});

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
    dialogs.chosen = temp.Write("other.tso", "[Page1]\r\nURL=other\r\n");
    EXPECT_TRUE(Run(FileCommandId::Open));
    EXPECT_NE(TempFolder::Read(show).find("URL=edited"), std::string::npos);
    EXPECT_EQ(std::tuple(p.CurrentFile, p.Pages[0].URL, p.Modified),
              std::tuple(dialogs.chosen, "other", false));
}

TEST_F(FileCommandTest, CancelledDialogsChangeNothing) {
    EXPECT_FALSE(Run(FileCommandId::SaveAs));
    p.Modified = false;
    EXPECT_FALSE(Run(FileCommandId::Open));
    p.Modified = true;
    ExpectUntouched();
    p.CurrentFile.clear();  // Save without a name is Save As
    EXPECT_FALSE(Run(FileCommandId::Save));
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"save File Save As show.tso .tso",
                                                       "open File Open Pagelark file (*.tso)|*.tso",
                                                       "save File Save As  .tso"}));
}

TEST_F(FileCommandTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    dialogs.chosen = temp.File("missing/show.tso");
    EXPECT_FALSE(Run(FileCommandId::SaveAs));
    ExpectUntouched();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_TRUE(dialogs.calls[1].starts_with("error ") &&
                dialogs.calls[1].find("\"" + dialogs.chosen + "\": ") != std::string::npos &&
                !dialogs.calls[1].ends_with(": "))
        << dialogs.calls[1];

    // Yes to the question, and that save fails: the changes stay and nothing replaces them.
    dialogs.answer = Answer::Yes;
    p.CurrentFile = dialogs.chosen;
    EXPECT_FALSE(Run(FileCommandId::New));
    EXPECT_EQ(std::tuple(p.CurrentFile, p.Modified, p.Pages[0].URL, dialogs.calls.size()),
              std::tuple(dialogs.chosen, true, "edited", 4u));
}

}  // namespace
}  // namespace pagelark::testing
