#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "config/config_window.h"
#include "config/qt_file_dialogs.h"
#include "editor/file_commands.h"
#include "model/presentation.h"
#include "model/product.h"
#include "model/toolbar_buttons.h"
#include "platform/clock.h"
#include "settings/settings.h"
#include "storage/document_session.h"
#include "storage/presentation_file.h"
#include "support/recording_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

class FakePlayer final : public ConfigEvents {
  public:
    void ConfigShown() override { ++shown; }
    std::string CurrentLocation() const override { return "http://stage/"; }
    void ShowInStage(const std::string& address) override { staged.push_back(address); }
    void ConfigClosed(bool ok) override { closed.push_back(ok); }
    int shown = 0;
    std::vector<std::string> staged;
    std::vector<bool> closed;
};

class FixedClock final : public Clock {
    double Now() const override { return 45000.5; }
};

class ConfigWindowTest : public ::testing::Test {
  protected:
    ConfigWindowTest() {
        presentation.CurrentFile = folder.File("show.tso");
        presentation.Pages = {
            {"http://a/"}, {"http://b/"}, {"http://c/"}, {"http://d/"}, {"http://e/"}};
        presentation.HomeURL = "http://home/";
        machine.EMail = "op@example.org";
        CreateButtonLists(buttons);
        // Each box notes whether the window had let go of its top place.
        dialogs.afterCall = [this](std::vector<std::string>& calls) {
            if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
                calls.push_back("<still on top>");
        };
    }

    std::string StoredValue(const char* name) {
        return session.registry.QueryValue(RegRoot::LocalMachine, kMachineKey, name);
    }
    void Cancel() { Find<QPushButton>("cmdCancel")->click(); }
    // Types into a box as an operator does, over what it held.
    void Type(const char* box, const char* text) {
        auto* edit = Find<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    template <class T = QWidget>
    T* Find(const char* name) {
        T* found = window.findChild<T*>(name);
        if (found == nullptr) ADD_FAILURE() << "no " << name;
        return found;
    }
    // Runs with the next modal dialog once it is up (the properties dialog blocks the click).
    static void WithModal(std::function<void(QWidget&)> action) {
        QTimer::singleShot(0, [action] {
            if (QWidget* modal = QApplication::activeModalWidget())
                action(*modal);
            else
                WithModal(action);
        });
    }
    static void CancelModal() {
        WithModal([](QWidget& dialog) { dialog.findChild<QPushButton*>("cmdCancel")->click(); });
    }
    QStringList Lines(const char* list) {
        QStringList lines;
        for (int i = 0; i < Find<QListWidget>(list)->count(); ++i)
            lines << Find<QListWidget>(list)->item(i)->text();
        return lines;
    }

    testing::TempFolder folder;
    Presentation presentation;
    DocumentSession session{folder.File("registry")};
    MachineSettings machine;
    ToolbarButtons buttons;
    HelpDocumentList help{};
    std::string startupFolder = folder.path() + "/";
    DocumentContext context{session.settings, session.files, machine, buttons, help, startupFolder};
    testing::RecordingDialogs dialogs;
    FixedClock clock;
    FakePlayer player;
    testing::RecordingCommands commands;
    int toolbarsOnTop = 0;
    int showSaved = 0;
    std::function<void()> onTop = [this] { ++toolbarsOnTop; }, onSaved = [this] { ++showSaved; };
    ConfigWindowWidget window{ConfigContext{
        presentation, context, dialogs, clock, player, commands, nullptr, onTop, {}, onSaved}};
};

TEST_F(ConfigWindowTest, OpensOnTopFilledWithTabsInOrderAndAboutFirstWithoutAnEMail) {
    machine.EMail.clear();
    window.Open();
    EXPECT_EQ(window.windowTitle().toStdString(), "Pagelark - " + presentation.CurrentFile);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.CurrentTab(), 8);
    EXPECT_TRUE(Find<QCheckBox>("chkPrivate")->text().contains("receive product announcements "));
    EXPECT_EQ(window.focusWidget(), Find("txtEMail"));
    EXPECT_TRUE(presentation.EditorLoaded);
    EXPECT_FALSE(presentation.Modified);  // filling is no edit

    // Reactivation keeps what was typed; after Cancel the next opening fills afresh.
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    window.ConfigShow();
    EXPECT_EQ(Find<QLineEdit>("txtHomePage")->text(), "http://typed/");
    Find<QPushButton>("cmdCancel")->click();
    EXPECT_EQ(player.closed, std::vector<bool>{false});
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(presentation.EditorLoaded);
    EXPECT_TRUE(presentation.Modified);  // Cancel leaves the flag the edits set
    EXPECT_EQ(presentation.HomeURL, "http://home/");
    machine.EMail = "op@example.org";
    window.Open();
    EXPECT_EQ(Find<QLineEdit>("txtHomePage")->text(), "http://home/");
    EXPECT_EQ(window.CurrentTab(), 1);
}

TEST_F(ConfigWindowTest, AnIncorrectEMailBlocksOkAndTheWindowStepsAsideForTheMessage) {
    window.Open();
    Find<QLineEdit>("txtEMail")->setText("first.last-at-example@org");
    Find<QPushButton>("cmdOK")->click();
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"error Incorrect e-mail address !"});
    EXPECT_EQ(window.CurrentTab(), 8);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(toolbarsOnTop, 1);
    EXPECT_TRUE(player.closed.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(presentation.CurrentFile)));

    // A save that fails is reported and the window stays for Save As elsewhere; nothing of
    // the window reached the model or the settings store.
    Cancel();
    presentation.CurrentFile = folder.File("missing/show.tso");
    window.Open();
    Find<QLineEdit>("txtEMail")->setText(" new@example.org");
    Find<QCheckBox>("chkReboot")->setChecked(true);
    dialogs.calls.clear();
    Find<QPushButton>("cmdOK")->click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].starts_with("error The presentation could not be saved"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(player.closed, std::vector<bool>{false});  // only the Cancel
    EXPECT_EQ(std::tuple(machine.EMail, machine.AutoReboot), std::tuple("op@example.org", false));
    EXPECT_EQ(StoredValue("EMail") + StoredValue("DefaultFile"), "");
}

TEST_F(ConfigWindowTest, PageListButtonsKeepTheSelectionRules) {
    window.Open();
    struct Step {
        int select;
        const char* button;
        const char* lines;
        int selected;
        bool up;
        bool down;
    };
    const Step steps[] = {
        {4, "cmdListDelete", "a,b,c,d", 3, true, false},  // the new last entry
        {1, "cmdListDelete", "a,c,d", 1, true, true},     // the one that moved up
        {2, "cmdListUp", "a,d,c", 1, true, true},
        {1, "cmdListInsert", "a,,d,c", 1, true, true},  // before the selected one
        {-1, "cmdListInsert", ",a,,d,c", 0, false, true},
        {-1, "cmdListDelete", ",a,,d,c", -1, false, true},  // nothing to remove, still a change
        {4, "cmdListGrab", ",a,,d,stage,c", 4, true, true},
    };
    auto* list = Find<QListWidget>("lstPageList");
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.button) + " on line " + std::to_string(step.select));
        list->setCurrentRow(step.select);
        presentation.Modified = false;
        if (std::string(step.button) == "cmdListInsert") CancelModal();
        Find<QPushButton>(step.button)->click();
        EXPECT_EQ(
            Lines("lstPageList").join(",").replace("http://", "").replace("/", "").toStdString(),
            step.lines);
        EXPECT_EQ(list->currentRow(), step.selected);
        EXPECT_EQ(Find("cmdListUp")->isEnabled(), step.up);
        EXPECT_EQ(Find("cmdListDown")->isEnabled(), step.down);
        EXPECT_TRUE(presentation.Modified);
    }
    EXPECT_EQ(PageCount(presentation), 5);  // only the working copy changed
}

TEST_F(ConfigWindowTest, PropertiesDialogEditsTheEntryItWasOpenedOn) {
    window.Open();
    // Insert on the empty include list opens the dialog on the new entry.
    WithModal([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Properties");
        EXPECT_EQ(dialog.findChild<QGroupBox*>("frmFrame")->title(), "Include properties");
        EXPECT_TRUE(dialog.findChild<QWidget*>("txtURL")->isVisibleTo(&dialog));
        EXPECT_FALSE(dialog.findChild<QWidget*>("txtTime")->isVisibleTo(&dialog));
        dialog.findChild<QLineEdit*>("txtURL")->setText("http://in/");
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    Find<QPushButton>("cmdIncInsert")->click();
    EXPECT_EQ(Lines("lstInclude").join(","), "http://in/");

    // A page's time box and its up-down move together; browsing goes through the dialogs.
    dialogs.chosen = "/srv/page.htm";
    Find<QListWidget>("lstPageList")->setCurrentRow(1);
    WithModal([](QWidget& dialog) {
        auto* time = dialog.findChild<QLineEdit*>("txtTime");
        auto* upDown = dialog.findChild<QScrollBar*>("updTime");
        EXPECT_FALSE(time->isEnabled());  // on the default time
        dialog.findChild<QCheckBox*>("chkDefaultTime")->setChecked(false);
        EXPECT_TRUE(time->isEnabled());
        time->setText("45");
        EXPECT_EQ(upDown->value(), 955);
        upDown->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the up arrow
        EXPECT_EQ(time->text(), "46");
        dialog.findChild<QPushButton*>("cmdBrowseFile")->click();
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    Find<QPushButton>("cmdListProps")->click();
    EXPECT_EQ(Lines("lstPageList")[1], "/srv/page.htm");
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"open Load File HTML Files *.htm *.html"});

    // Tool Nav's last line is the address box: only its visibility.
    auto* nav = Find<QListWidget>("lstToolNav");
    nav->setCurrentRow(nav->count() - 1);
    WithModal([](QWidget& dialog) {
        EXPECT_EQ(dialog.findChild<QGroupBox*>("frmFrame")->title(), "Text box properties: URL");
        for (const char* hidden : {"txtURL", "txtTime", "txtFileName", "txtHelpTip"})
            EXPECT_FALSE(dialog.findChild<QWidget*>(hidden)->isVisibleTo(&dialog)) << hidden;
        dialog.findChild<QCheckBox*>("chkVisible")->setChecked(false);
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    emit nav->itemDoubleClicked(nav->currentItem());
    EXPECT_TRUE(buttons.ToolNavUrlVisible);  // kept only with the window
}

TEST_F(ConfigWindowTest, DelayBoxAndUpDownKeepInStep) {
    window.Open();
    auto* box = Find<QLineEdit>("txtScreenSaveTimeOut");
    auto* upDown = Find<QScrollBar>("updScreenSaveTimeOut");
    EXPECT_EQ(box->text(), "5");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "75");
    EXPECT_EQ(box->text(), "60");
    EXPECT_EQ(upDown->value(), 1);
    upDown->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // the down arrow
    EXPECT_EQ(box->text(), "59");
    // Pasted over a box already at the limit, 75 stays until the box loses the focus.
    box->setText("60");
    box->selectAll();
    box->insert("75");
    EXPECT_EQ(box->text(), "75");
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(box, &leave);
    EXPECT_EQ(box->text(), "60");
    // Cleared reboot: only the logon check box greys out, and never on this system.
    EXPECT_FALSE(Find("chkAutoLogin")->isEnabled());
    Find<QCheckBox>("chkReboot")->setChecked(true);
    EXPECT_TRUE(Find("txtRebootTimeH")->isEnabled());
    EXPECT_FALSE(Find("chkAutoLogin")->isEnabled());
}

TEST_F(ConfigWindowTest, NewWithChangesAsksAndCancelOrACancelledSaveAsChangesNothing) {
    window.Open();
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    dialogs.answer = Answer::Cancel;
    Find<QAction>("mnuFile0")->trigger();
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"ask Save changes to \"" +
                                                      presentation.CurrentFile + "\"?"});
    EXPECT_EQ(toolbarsOnTop, 1);
    EXPECT_EQ(Find<QLineEdit>("txtHomePage")->text(), "http://typed/");
    EXPECT_EQ(PageCount(presentation), 5);
    EXPECT_TRUE(presentation.Modified);

    dialogs.calls.clear();
    Find<QCheckBox>("chkDefaultSS")->setChecked(true);
    Find<QCheckBox>("chkReboot")->setChecked(true);
    Find<QAction>("mnuFile3")->trigger();  // Save As, cancelled: nothing is written
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"save File Save As show.tso .tso"});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(presentation.CurrentFile)));
    EXPECT_EQ(showSaved, 0);

    // No: the new empty presentation fills the window, no longer the default file.
    presentation.IsDefaultFile = true;
    Cancel();
    EXPECT_EQ(std::tuple(presentation.HomeURL, machine.AutoReboot, StoredValue("DefaultFile")),
              std::tuple("http://home/", false, ""));
    window.Open();
    EXPECT_FALSE(Find("chkDefaultSS")->isEnabled());
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    dialogs.answer = Answer::No;
    Find<QAction>("mnuFile0")->trigger();
    EXPECT_EQ(Find<QListWidget>("lstPageList")->count(), 0);
    EXPECT_FALSE(presentation.Modified);
    EXPECT_TRUE(Find("chkDefaultSS")->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>("chkDefaultSS")->isChecked());
    EXPECT_TRUE(window.windowTitle().startsWith("Pagelark - "))
        << window.windowTitle().toStdString();
    Cancel();
}

TEST_F(ConfigWindowTest, YesToSaveChangesSavesWhatTheWindowShows) {
    window.Open();
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    dialogs.answer = Answer::Yes;
    Find<QAction>("mnuFile0")->trigger();
    EXPECT_NE(testing::TempFolder::Read(presentation.CurrentFile).find("HomeURL=http://typed/"),
              std::string::npos);
    EXPECT_EQ(showSaved, 1);  // the tool bars follow the save
    Cancel();
}

TEST_F(ConfigWindowTest, OkKeepsDropsBlankPagesSavesAndCloses) {
    window.Open();
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    Find<QLineEdit>("txtDefaultTime")->setText("25");
    Find<QCheckBox>("chkLocked")->setChecked(true);
    Find<QListWidget>("lstPageList")->setCurrentRow(2);
    WithModal([](QWidget& dialog) {
        dialog.findChild<QLineEdit*>("txtURL")->setText("   ");
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    Find<QPushButton>("cmdListInsert")->click();
    Find<QPushButton>("cmdExcGrab")->click();
    Find<QPushButton>("cmdOK")->click();
    EXPECT_EQ(player.closed, std::vector<bool>{true});
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(presentation.Modified);

    const std::string saved = testing::TempFolder::Read(presentation.CurrentFile);
    for (const char* part : {"HomeURL=http://typed/\r\n", "DefaultTime=25\r\n",
                             "[Exclude1]\r\nURL=http://stage/\r\n", "[Page5]"})
        EXPECT_NE(saved.find(part), std::string::npos) << part << " in " << saved;
    EXPECT_EQ(saved.find("[Page6]"), std::string::npos);  // the blank page is gone
    EXPECT_EQ(StoredValue("Locked"), "Yes");
}

TEST_F(ConfigWindowTest, StoredValuesAreShownWholeAndKeptAsTheyWere) {
    presentation.DefaultTime = 3600;
    machine.ScreenSaveTimeOut = std::chrono::seconds(6000);
    presentation.Pages[0] = {"http://a/", false, 2000};
    presentation.HomeURL = "http://home/" + std::string(1100, 'x');
    window.Open();
    EXPECT_EQ(Find<QLineEdit>("txtDefaultTime")->text(), "3600");
    EXPECT_EQ(Find<QLineEdit>("txtHomePage")->text().size(), 1112);
    auto* delay = Find<QLineEdit>("txtScreenSaveTimeOut");
    EXPECT_EQ(delay->text(), "100");
    delay->setFocus();
    Find<QLineEdit>("txtDefaultTime")->setFocus();  // passing through is no edit
    EXPECT_EQ(delay->text(), "100");
    Find<QListWidget>("lstPageList")->setCurrentRow(0);
    WithModal([](QWidget& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("txtTime")->text(), "2000");
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    Find<QPushButton>("cmdListProps")->click();
    Find<QPushButton>("cmdOK")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(std::tuple(presentation.DefaultTime, machine.ScreenSaveTimeOut.count(),
                         presentation.Pages[0].Time, presentation.HomeURL.size()),
              std::tuple(3600, 6000, 2000, 1112u));

    // Typing still stops at the box's length.
    window.Open();
    Type("txtDefaultTime", "12345");
    EXPECT_EQ(Find<QLineEdit>("txtDefaultTime")->text(), "123");
    Cancel();
}

TEST_F(ConfigWindowTest, NumbersAndAddressesAreStoredAsShownOrRefusedByName) {
    struct Row {
        const char* box;
        const char* before;  // with its up-down at that number first
        const char* text;
        const char* refusal;  // a part of the message, "" when accepted
    };
    const Row rows[] = {
        {"txtDefaultTime", "", "15s", "Default display time"},
        {"txtDefaultTime", "", "0", "Default display time"},
        {"txtScreenSaveTimeOut", "1", "-5", "Screen save delay"},
        {"txtRebootTimeH", "", "25", "Reboot time"},
        {"txtRebootTimeM", "", "61", "Reboot time"},
        {"txtRebootTimeH", "", "ab", "Reboot time"},
        {"txtScreenSaveTimeOut", "", "10", ""},  // emptied and typed: not refilled on the way
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.box) + " " + row.text);
        window.Open();
        Find<QCheckBox>("chkReboot")->setChecked(true);
        if (*row.before != 0) Find<QLineEdit>(row.box)->setText(row.before);
        Type(row.box, row.text);
        EXPECT_EQ(Find<QLineEdit>(row.box)->text().toStdString(), row.text);
        dialogs.calls.clear();
        Find<QPushButton>("cmdOK")->click();
        if (*row.refusal == 0) {
            EXPECT_TRUE(dialogs.calls.empty());
            EXPECT_EQ(machine.ScreenSaveTimeOut.count(), 600);
            continue;
        }
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_NE(dialogs.calls[0].find(row.refusal), std::string::npos) << dialogs.calls[0];
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(QFile::exists(QString::fromStdString(presentation.CurrentFile)));
        // Ctrl+S checks as OK does.
        dialogs.calls.clear();
        Find<QAction>("mnuFile2")->trigger();
        EXPECT_EQ(dialogs.calls.size(), 1u);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(presentation.CurrentFile)));
        Cancel();
    }

    // A page's own time is refused the same way; 0 minutes of delay is kept as one.
    window.Open();
    dialogs.calls.clear();
    Find<QListWidget>("lstPageList")->setCurrentRow(0);
    WithModal([](QWidget& dialog) {
        dialog.findChild<QCheckBox*>("chkDefaultTime")->setChecked(false);
        auto* time = dialog.findChild<QLineEdit*>("txtTime");
        time->selectAll();
        QTest::keyClick(time, Qt::Key_Backspace);
        QTest::keyClicks(time, "15s");
        dialog.findChild<QPushButton*>("cmdOK")->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.findChild<QPushButton*>("cmdCancel")->click();
    });
    Find<QPushButton>("cmdListProps")->click();
    EXPECT_EQ(dialogs.calls.size(), 1u);
    Find<QLineEdit>("txtScreenSaveTimeOut")->setText("1");
    Find<QLineEdit>("txtScreenSaveTimeOut")->setText("0");
    Find<QPushButton>("cmdOK")->click();
    EXPECT_EQ(machine.ScreenSaveTimeOut.count(), 60);
}

TEST_F(ConfigWindowTest, OpenBringsTheFilesOwnButtonsAndSettings) {
    const std::string other = folder.Write(
        "other.tso",
        "[Tessaro]\r\nHomeURL=http://b/\r\nScreenSaveActive=No\r\nScreenSaveTimeOut=120\r\n"
        "OnMouseMove=0\r\n[Page1]\r\nURL=http://b1/\r\n[ToolRunQuit]\r\nHelpTip=Leave\r\n"
        "Visible=No\r\n[ToolNavURL]\r\nVisible=No\r\n");
    window.Open();
    dialogs.chosen = other;
    Find<QAction>("mnuFile1")->trigger();
    EXPECT_FALSE(Find<QCheckBox>("chkScreenSaveActive")->isChecked());
    EXPECT_EQ(Lines("lstToolRun")[4], "Leave");
    EXPECT_EQ(window.windowTitle().toStdString(), "Pagelark - " + other);
    Find<QPushButton>("cmdOK")->click();
    const std::string saved = testing::TempFolder::Read(other);
    for (const char* part :
         {"ScreenSaveActive=No", "ScreenSaveTimeOut=120", "OnMouseMove=0",
          "[ToolRunQuit]\r\nHelpTip=Leave\r\nIcon=\r\nVisible=No", "[ToolNavURL]\r\nVisible=No"})
        EXPECT_NE(saved.find(part), std::string::npos) << part << " in " << saved;
}

TEST_F(ConfigWindowTest, FilesThatHoldNoPresentationAreNeverOverwritten) {
    const std::string notes = folder.Write("notes.txt", "just notes\r\n");
    window.Open();
    dialogs.chosen = notes;
    Find<QAction>("mnuFile1")->trigger();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_TRUE(dialogs.calls[1].starts_with("error ") &&
                dialogs.calls[1].find(notes) != std::string::npos)
        << dialogs.calls[1];
    Cancel();

    // Opened at start-up: OK asks for another name first.
    presentation.CurrentFile = notes;
    LoadPresentation(presentation, context, notes);
    dialogs.calls.clear();
    window.Open();
    QApplication::processEvents();
    EXPECT_EQ(dialogs.calls,
              std::vector<std::string>{"error \"" + notes + "\" holds no presentation sections."});
    dialogs.calls.clear();
    dialogs.chosen.clear();
    Find<QPushButton>("cmdOK")->click();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_TRUE(dialogs.calls[0].starts_with("error ")) << dialogs.calls[0];
    EXPECT_TRUE(dialogs.calls[1].starts_with("save File Save As")) << dialogs.calls[1];
    EXPECT_EQ(testing::TempFolder::Read(notes), "just notes\r\n");
    EXPECT_TRUE(window.isVisible());
}

TEST_F(ConfigWindowTest, AFileChangedOnDiskIsNotOverwrittenUnasked) {
    window.Open();
    Find<QPushButton>("cmdOK")->click();
    const std::string outside = "[Tessaro]\r\nHomeURL=http://outside/\r\n";
    folder.Write("show.tso", outside);
    window.Open();
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    dialogs.calls.clear();
    Find<QPushButton>("cmdOK")->click();  // the question is cancelled
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].starts_with("reload ")) << dialogs.calls[0];
    EXPECT_EQ(testing::TempFolder::Read(presentation.CurrentFile), outside);
    EXPECT_TRUE(window.isVisible());
    dialogs.reloadAnswer = Answer::Yes;
    Find<QPushButton>("cmdOK")->click();
    EXPECT_EQ(Find<QLineEdit>("txtHomePage")->text(), "http://outside/");
    EXPECT_EQ(testing::TempFolder::Read(presentation.CurrentFile), outside);
    Find<QPushButton>("cmdOK")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(presentation.HomeURL, "http://outside/");
}

// A file where the store's folder should be is the end-to-end test's; here a folder where
// machine.reg should be (which stops root as well).
TEST_F(ConfigWindowTest, ASettingsStoreThatCannotBeWrittenIsNamedAndTheWindowStays) {
    folder.Write("registry/machine.reg/x", "");
    window.Open();
    Find<QLineEdit>("txtEMail")->setText("new@example.org");
    Find<QPushButton>("cmdOK")->click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_NE(dialogs.calls[0].find(folder.File("registry/machine.reg")), std::string::npos)
        << dialogs.calls[0];
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(player.closed.empty());
    EXPECT_EQ(showSaved, 1);  // the show took the file all the same
}

TEST_F(ConfigWindowTest, PicturesUnderTheStartupFolderAreStoredRelative) {
    for (const auto& [chosen, stored] :
         {std::pair(startupFolder + "pics/a.gif", std::string("pics/a.gif")),
          std::pair(std::string("/srv/b.gif"), std::string("/srv/b.gif"))}) {
        window.Open();
        dialogs.chosen = chosen;
        Find<QListWidget>("lstToolRun")->setCurrentRow(0);
        WithModal([](QWidget& dialog) {
            dialog.findChild<QCheckBox*>("chkVisible")->setChecked(true);
            dialog.findChild<QPushButton*>("cmdBrowse")->click();
            dialog.findChild<QPushButton*>("cmdOK")->click();
        });
        Find<QPushButton>("cmdToolRunProps")->click();
        Find<QPushButton>("cmdOK")->click();
        EXPECT_EQ(buttons.ToolRunButtons[0].Icon, stored);
    }
}

TEST(QtFileFilterTest, NameThenPatternsInBrackets) {
    EXPECT_EQ(QtFileFilter(kPageFileFilter), "HTML Files (*.htm *.html)");
}

}  // namespace
}  // namespace pagelark
