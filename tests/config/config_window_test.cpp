#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "config/config_window.h"
#include "config/qt_file_dialogs.h"
#include "document/document_session.h"
#include "document/file_commands.h"
#include "document/presentation.h"
#include "document/presentation_file.h"
#include "platform/clock.h"
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

class ConfigWindowTest : public ::testing::Test, public DocumentEvents {
  protected:
    ConfigWindowTest() {
        presentation.CurrentFile = folder.File("show.tso");
        presentation.Pages = {
            {"http://a/"}, {"http://b/"}, {"http://c/"}, {"http://d/"}, {"http://e/"}};
        presentation.HomeURL = "http://home/";
        machine.EMail = "op@example.org";
        CreateButtonLists(buttons);
        window.Attach(player, commands);
        // Each box notes whether the window had let go of its top place.
        dialogs.afterCall = [this](std::vector<std::string>& calls) {
            if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
                calls.push_back("<still on top>");
        };
    }

    bool EditorOpen() const override { return window.isVisible(); }
    void RefillEditor() override {
        if (window.isVisible()) window.ConfigShow();
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
    DocumentSession session{presentation.CurrentFile, folder.File("registry")};
    MachineSettings machine;
    ToolbarButtons buttons;
    HelpDocumentList help{};
    std::string startupFolder = folder.path() + "/";
    DocumentContext context{session.settings, session.files, machine, buttons, help,
                            startupFolder,    *this,         0};
    testing::RecordingDialogs dialogs;
    FixedClock clock;
    int toolbarsOnTop = 0;
    ConfigWindowWidget window{
        ConfigContext{presentation, context, dialogs, clock, [this] { ++toolbarsOnTop; }, {}}};
    FakePlayer player;
    testing::RecordingCommands commands;
};

TEST_F(ConfigWindowTest, OpensOnTopFilledWithTabsInOrderAndAboutFirstWithoutAnEMail) {
    machine.EMail.clear();
    window.Open();
    EXPECT_EQ(window.windowTitle().toStdString(), "Pagelark - " + presentation.CurrentFile);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    auto* tabs = Find<QTabWidget>("tabConfig");
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    EXPECT_EQ(captions.join(","),
              "&General,&Pages,&Include,&Exclude,Tool Run,Tool Nav,Reboot,&About");
    EXPECT_EQ(window.CurrentTab(), 8);
    EXPECT_EQ(window.focusWidget(), Find("txtEMail"));
    EXPECT_TRUE(presentation.EditorLoaded);
    EXPECT_FALSE(presentation.Modified);  // filling is no edit
    EXPECT_EQ(Lines("lstToolNav").constLast(), "URL");

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

    // A save that fails is reported and the window stays for Save As elsewhere.
    Find<QLineEdit>("txtEMail")->setText("  ");
    presentation.CurrentFile = folder.File("missing/show.tso");
    dialogs.calls.clear();
    Find<QPushButton>("cmdOK")->click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].starts_with("error The presentation could not be saved"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(player.closed.empty());
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
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"open Load File HTML Files|*.htm;*.html"});

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
    box->setText("75");
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
    Find<QAction>("mnuFile3")->trigger();  // Save As, cancelled: nothing is written
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"save File Save As show.tso .tso"});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(presentation.CurrentFile)));

    // No: the new empty presentation fills the window.
    dialogs.answer = Answer::No;
    Find<QAction>("mnuFile0")->trigger();
    EXPECT_EQ(Find<QListWidget>("lstPageList")->count(), 0);
    EXPECT_FALSE(presentation.Modified);
}

TEST_F(ConfigWindowTest, OkKeepsDropsBlankPagesSavesAndCloses) {
    window.Open();
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    Find<QLineEdit>("txtDefaultTime")->setText("25");
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

    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PAGELARK_REGISTRY_DIR", QString::fromStdString(folder.File("registry")));
    tool.setProcessEnvironment(environment);
    tool.start(PAGELARK_TSO_TOOL, {"show", QString::fromStdString(presentation.CurrentFile)});
    ASSERT_TRUE(tool.waitForFinished(10000));
    const QString shown = QString::fromUtf8(tool.readAllStandardOutput()).simplified();
    EXPECT_TRUE(shown.contains(R"("HomeURL": "http://typed/")")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(R"("DefaultTime": 25)"));
    EXPECT_TRUE(shown.contains(R"("Exclude": [ "http://stage/" ])"));
    EXPECT_EQ(shown.count(R"({"URL": )"), 5);  // the blank page is gone
}

TEST(QtFileFilterTest, CommonDialogFiltersBecomeQtFilters) {
    EXPECT_EQ(QtFileFilter("Pagelark file (*.tso)|*.tso"), "Pagelark file (*.tso)");
    EXPECT_EQ(QtFileFilter("HTML Files|*.htm;*.html|All|*.*"),
              "HTML Files (*.htm *.html);;All (*.*)");
}

}  // namespace
}  // namespace pagelark
