#include "editor/file_commands.h"

#include <gtest/gtest.h>

#include "support/document_world.h"
#include "support/recording_dialogs.h"

namespace pagelark::testing {
namespace {

using namespace std::chrono_literals;

class FileCommandTest : public ::testing::Test, public DocumentWorld {
  protected:
    FileCommandTest() {
        d.CurrentFile = show;
        LoadPresentation(p, d, context, show);
        edited = {p, machine, buttons, d};
        e.Pages[0].URL = "edited";
        ed.Modified = true;
    }
    FileCommandResult Command(FileCommandId command) {
        return FileCommand(command, edited, context, dialogs);
    }
    bool Run(FileCommandId command) { return Command(command).done; }
    void ExpectUntouched() {
        EXPECT_EQ(std::tuple(ed.CurrentFile, ed.Modified, e.Pages[0].URL),
                  std::tuple(show, true, "edited"));
        EXPECT_EQ(TempFolder::Read(show), "[Page1]\r\nURL=old\r\n");
    }

    RecordingDialogs dialogs;
    std::string show = temp.Write("show.tso", "[Page1]\r\nURL=old\r\n");
    EditedDocument edited;
    Presentation& e = edited.presentation;
    Document& ed = edited.document;
};

TEST_F(FileCommandTest, NewAsksFirstAndNamesTheFileWithoutWriting) {
    EXPECT_FALSE(Run(FileCommandId::New));  // Cancel
    ExpectUntouched();
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"ask Save changes to \"" + show + "\"?"});

    dialogs.answer = Answer::No;
    e.MaxTime = 9s;  // a play option: New keeps it
    const FileCommandResult result = Command(FileCommandId::New);
    const std::string noName = temp.File("NoName.tso");
    EXPECT_TRUE(result.refill);
    EXPECT_EQ(std::tuple(ed.CurrentFile, ed.Modified, e.Pages.size(), e.MaxTime),
              std::tuple(noName, false, 0u, 9s));
    EXPECT_FALSE(FileExists(noName));
    EXPECT_TRUE(Run(FileCommandId::Save));  // no dialog: New gave the name
    EXPECT_EQ(std::tuple(FileExists(noName), dialogs.calls.size(), ed.CurrentFile),
              std::tuple(true, 2u, noName));
}

TEST_F(FileCommandTest, NewNeverTakesOverAnotherFile) {
    dialogs.answer = Answer::No;
    const std::string noName = temp.Write("NoName.tso", "[Page1]\r\nURL=mine\r\n");
    EXPECT_TRUE(Run(FileCommandId::New));
    EXPECT_FALSE(Run(FileCommandId::Save));  // through Save As, cancelled
    EXPECT_EQ(dialogs.calls.back(), "save File Save As NoName.tso .tso");
    EXPECT_EQ(TempFolder::Read(noName), "[Page1]\r\nURL=mine\r\n");
}

TEST_F(FileCommandTest, CancelledDialogsChangeNothing) {
    EXPECT_FALSE(Run(FileCommandId::SaveAs));
    ed.Modified = false;
    EXPECT_FALSE(Run(FileCommandId::Open));
    ed.Modified = true;
    ExpectUntouched();
    ed.CurrentFile.clear();  // Save without a name is Save As
    EXPECT_FALSE(Run(FileCommandId::Save));
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"save File Save As show.tso .tso",
                                                       "open File Open Pagelark file *.tso",
                                                       "save File Save As  .tso"}));
}

// The presentation, its name and its changes stay as they were, and the reason is said.
TEST_F(FileCommandTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    dialogs.chosen = temp.File("missing/show.tso");
    const FileCommandResult failed = Command(FileCommandId::SaveAs);
    EXPECT_EQ(std::pair(failed.done, failed.showSaved), std::pair(false, false));
    ExpectUntouched();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_TRUE(dialogs.calls[1].starts_with("error ") &&
                dialogs.calls[1].find("\"" + dialogs.chosen + "\": ") != std::string::npos &&
                dialogs.calls[1].find("unknown error") == std::string::npos)
        << dialogs.calls[1];

    // Yes to the question, and that save fails: the changes stay and nothing replaces them.
    dialogs.answer = Answer::Yes;
    ed.CurrentFile = dialogs.chosen;
    EXPECT_FALSE(Run(FileCommandId::New));
    EXPECT_EQ(std::tuple(ed.CurrentFile, ed.Modified, e.Pages[0].URL, dialogs.calls.size()),
              std::tuple(dialogs.chosen, true, "edited", 4u));
}

// What the file held goes back as it stood, also where the settings in force differ (an opened
// file's), but for what the operator changed; a typed picture under the start-up folder is
// stored relative to it.
TEST_F(FileCommandTest, SettingsTheFileCarriesChangeOnlyWithTheOperator) {
    dialogs.chosen = temp.Write("carried.tso",
                                "[Tessaro]\r\nAutoReboot=yes\r\nForceReboot=1\r\nLowMemory=on\r\n"
                                "[Page1]\r\nURL=a\r\n");
    ed.Modified = false;
    ASSERT_TRUE(Run(FileCommandId::Open));
    edited.machine.AutoReboot = true;
    edited.buttons.ToolNavButtons[0].Icon = startupFolder + "pics/typed.gif";
    ASSERT_TRUE(Run(FileCommandId::Save));
    const std::string saved = TempFolder::Read(dialogs.chosen);
    EXPECT_NE(saved.find("OnMouseMove=1\r\nAutoReboot=Yes\r\nForceReboot=1\r\nLowMemory=on\r\n["),
              std::string::npos)
        << saved;
    EXPECT_NE(saved.find("[ToolNavBack]\r\nHelpTip=Back\r\nIcon=pics/typed.gif\r\n"),
              std::string::npos)
        << saved;
}

}  // namespace
}  // namespace pagelark::testing
