#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <string>
#include <vector>

#include "config/config_window.h"
#include "config/controls.h"
#include "editor/file_commands.h"
#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "platform/clock.h"
#include "publish/publication.h"
#include "settings/managed.h"
#include "settings/registry.h"
#include "settings/setting_table.h"
#include "settings/settings.h"
#include "storage/presentation_file.h"
#include "support/document_world.h"
#include "support/recording_commands.h"
#include "support/recording_dialogs.h"

namespace pagelark {
namespace {

class FakePlayer final : public ConfigEvents {
  public:
    void ConfigShown() override {}
    std::string CurrentLocation() const override { return "http://stage/"; }
    void ShowInStage(const std::string& address) override { stage.push_back(address); }
    void ConfigClosed(bool ok) override { closed.push_back(ok); }
    std::vector<bool> closed;
    std::vector<std::string> stage;
};

class ConfigWindowTest : public ::testing::Test, public testing::DocumentWorld {
  protected:
    ConfigWindowTest() {
        document.CurrentFile = temp.File("show.tso");
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
        return window.findChild<T*>(name);
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
    QStringList Lines(const char* list) {
        QStringList lines;
        for (int i = 0; i < Find<QListWidget>(list)->count(); ++i)
            lines << Find<QListWidget>(list)->item(i)->text();
        return lines;
    }

    static std::string Read(const std::string& file) { return testing::TempFolder::Read(file); }

    // The show as the kiosk holds it: what the window copies, and what a save hands back.
    Show show;
    Presentation& presentation = show.presentation;
    Document& document = show.document;
    testing::RecordingDialogs dialogs;
    SystemClock clock;  // no test here depends on the time of day
    FakePlayer player;
    testing::RecordingCommands commands;
    int toolbarsOnTop = 0;
    std::vector<ShowChange> changes;  // of the shows handed over
    std::function<const Show&()> playing = [this]() -> const Show& { return show; };
    std::function<void()> onTop = [this] { ++toolbarsOnTop; };
    std::function<void(Show, ShowChange)> onSave = [this](Show saved, ShowChange change) {
        show = std::move(saved);
        changes.push_back(change);
    };
    ConfigWindowWidget window{ConfigContext{
        playing, context, dialogs, clock, player, commands, nullptr, onTop, {}, onSave}};
};

TEST_F(ConfigWindowTest, OpensOnTopFilledWithTabsInOrderAndAboutFirstWithoutAnEMail) {
    machine.EMail.clear();
    window.Open();
    // Filling is no edit.
    EXPECT_EQ(
        std::tuple(window.windowTitle().toStdString(), window.CurrentTab(),
                   window.EditedFile().EditorLoaded, window.EditedFile().Modified,
                   window.focusWidget()),
        std::tuple("Pagelark - " + document.CurrentFile, kAboutTab, true, false, Find("txtEMail")));

    // Reactivation keeps what was typed; after Cancel the next opening fills afresh.
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    window.ConfigShow();
    EXPECT_EQ(Find<QLineEdit>("txtHomePage")->text(), "http://typed/");
    Find<QPushButton>("cmdCancel")->click();
    EXPECT_EQ(player.closed, std::vector<bool>{false});
    // Cancel leaves the flag the edits set.
    EXPECT_EQ(std::tuple(window.isVisible(), window.EditedFile().EditorLoaded,
                         window.EditedFile().Modified, presentation.HomeURL),
              std::tuple(false, false, true, "http://home/"));
    machine.EMail = "op@example.org";
    window.Open();
    EXPECT_EQ(std::tuple(Find<QLineEdit>("txtHomePage")->text(), window.CurrentTab()),
              std::tuple("http://home/", 1));
    // The program has no site: its buttons lead to the help it carries.
    Find<QPushButton>("cmdDefPage")->click();
    Find<QPushButton>("cmdTessaro")->click();
    EXPECT_EQ(std::tuple(Find<QLineEdit>("txtHomePage")->text().toStdString(), player.stage),
              std::tuple(help[0], std::vector<std::string>{help[1]}));
    Find<QPushButton>("cmdCancel")->click();
    // Declining once is kept: the next opening asks no more.
    machine.EMail.clear();
    window.Open();
    Find<QCheckBox>("chkPrivate")->setChecked(true);
    Find<QPushButton>("cmdOK")->click();
    window.Open();
    EXPECT_EQ(std::tuple(window.CurrentTab(), Find<QCheckBox>("chkPrivate")->isChecked()),
              std::tuple(1, true));
}

TEST_F(ConfigWindowTest, EveryButtonSaysWhatItDoesAndOnlyControlsThatActHereAreShown) {
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    picture.save(QString::fromStdString(temp.File("play.png")));
    buttons.ToolRunButtons[0].Icon = temp.File("play.png");
    machine.RebootHour = 4;
    window.Open();
    // Every button says what it does; none promises a web site, as the product has none.
    for (const QAbstractButton* button : window.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
        EXPECT_FALSE(button->toolTip().contains("web site")) << button->objectName().toStdString();
    }
    // A button's line shows the picture the bar shows.
    EXPECT_FALSE(Find<QListWidget>("lstToolRun")->item(0)->icon().isNull());
    // The automatic logon of another system: filled and kept, never shown here.
    for (const char* name : {"chkAutoLogin", "lblUserName", "txtUserName", "lblPassword",
                             "txtPassword", "lblDomain", "txtDomain"})
        EXPECT_TRUE(Find(name)->isHidden()) << name;
    // Clock times with two digits, also as the arrows write them.
    Find<QScrollBar>("updRebootTimeM")->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(
        Find<QLineEdit>("txtRebootTimeH")->text() + ":" + Find<QLineEdit>("txtRebootTimeM")->text(),
        "04:01");
}

TEST_F(ConfigWindowTest, MovesByItsEmptyPlacesAndOpensItsHelpBesideItInFront) {
    help[3] = temp.Write("documentation.html", "<h1>Contents</h1>");
    window.Open();
    const QPoint before = window.pos();
    QWidget* label = Find("lblHomePage");
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
    QMouseEvent drag(QEvent::MouseMove, QPointF(2, 2), label->mapToGlobal(QPointF(32, 22)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(label, &drag);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(32, 22));
    EXPECT_EQ(window.pos() - before, QPoint(30, 20));

    Find<QAction>("mnuHelp0")->trigger();
    auto* shown = window.findChild<QTextBrowser*>("frmHelp");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(std::tuple(shown->isVisible(), shown->windowHandle()->transientParent(),
                         shown->toPlainText(), commands.calls.empty()),
              std::tuple(true, window.windowHandle(), "Contents", true));
}

TEST_F(ConfigWindowTest, PageListButtonsKeepTheSelectionRules) {
    window.Open();
    // The line selected, the button, the list after, the line selected after, Up and Down.
    const std::tuple<int, const char*, const char*, int, bool, bool> steps[] = {
        {-1, "cmdListInsert", ",a,b,c,d,e", 0, false, true},   // the cancelled entry stays
        {-1, "cmdListDelete", ",a,b,c,d,e", -1, false, true},  // nothing to remove, still a change
        {4, "cmdListGrab", ",a,b,c,stage,d,e", 4, true, true},
    };
    auto* list = Find<QListWidget>("lstPageList");
    for (const auto& [select, button, lines, selected, up, down] : steps) {
        SCOPED_TRACE(std::string(button) + " on line " + std::to_string(select));
        list->setCurrentRow(select);
        window.EditedFile().Modified = false;
        if (std::string(button) == "cmdListInsert")
            WithModal(
                [](QWidget& dialog) { dialog.findChild<QPushButton*>("cmdCancel")->click(); });
        Find<QPushButton>(button)->click();
        EXPECT_EQ(
            Lines("lstPageList").join(",").replace("http://", "").replace("/", "").toStdString(),
            lines);
        EXPECT_EQ(std::tuple(list->currentRow(), Find("cmdListUp")->isEnabled(),
                             Find("cmdListDown")->isEnabled(), window.EditedFile().Modified),
                  std::tuple(selected, up, down, true));
    }
    EXPECT_EQ(PageCount(presentation), 5);  // only the working copy changed
}

TEST_F(ConfigWindowTest, PropertiesDialogEditsTheEntryItWasOpenedOn) {
    window.Open();
    // Insert on the empty include list opens the dialog on the new entry.
    WithModal([](QWidget& dialog) {
        EXPECT_TRUE(dialog.findChild<QWidget*>("txtURL")->isVisibleTo(&dialog));
        EXPECT_FALSE(dialog.findChild<QWidget*>("txtTime")->isVisibleTo(&dialog));
        dialog.findChild<QLineEdit*>("txtURL")->setText("http://in/");
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    Find<QPushButton>("cmdIncInsert")->click();
    EXPECT_EQ(Lines("lstInclude").join(","), "http://in/");

    // A page's time box and its up-down move together, a time that is no number is refused
    // in the dialog; browsing goes through the dialogs.
    dialogs.chosen = "/srv/page.htm";
    Find<QListWidget>("lstPageList")->setCurrentRow(1);
    WithModal([](QWidget& dialog) {
        auto* time = dialog.findChild<QLineEdit*>("txtTime");
        auto* upDown = dialog.findChild<QScrollBar*>("updTime");
        EXPECT_FALSE(time->isEnabled());  // on the default time
        EXPECT_TRUE(dialog.findChild<QWidget*>("txtZoom")->isVisibleTo(&dialog));
        dialog.findChild<QCheckBox*>("chkDefaultTime")->setChecked(false);
        EXPECT_TRUE(time->isEnabled());
        time->selectAll();
        QTest::keyClicks(time, "15s");
        dialog.findChild<QPushButton*>("cmdOK")->click();
        EXPECT_TRUE(dialog.isVisible());
        time->setText("45");
        EXPECT_EQ(upDown->value(), 955);
        upDown->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the up arrow
        EXPECT_EQ(time->text(), "46");
        time->setText("0");  // the page stays until a command
        dialog.findChild<QLineEdit*>("txtDays")->setText("Mo-Fr");
        dialog.findChild<QLineEdit*>("txtFrom")->setText("7:00");
        dialog.findChild<QLineEdit*>("txtTo")->setText("10:30");
        dialog.findChild<QPushButton*>("cmdOK")->click();
        dialog.findChild<QLineEdit*>("txtDays")->setText("Mon-Fri");
        dialog.findChild<QPushButton*>("cmdBrowseFile")->click();
        dialog.findChild<QPushButton*>("cmdOK")->click();
        if (dialog.isVisible()) dialog.findChild<QPushButton*>("cmdCancel")->click();  // refused
    });
    Find<QPushButton>("cmdListProps")->click();
    EXPECT_EQ(Lines("lstPageList")[1], "/srv/page.htm");
    EXPECT_EQ(dialogs.calls,
              (std::vector<std::string>{
                  "error Time: enter a whole number of seconds, 0 or more.",
                  "error Days cannot be \"Mo-Fr\": enter days such as Mon-Fri, Sat,Sun or "
                  "Mon-Wed,Fri (empty: every day).",
                  "open Load File HTML Files *.htm *.html"}));

    // Tool Nav's last line is the address box: only its visibility.
    auto* nav = Find<QListWidget>("lstToolNav");
    nav->setCurrentRow(nav->count() - 1);
    WithModal([](QWidget& dialog) {
        EXPECT_EQ(dialog.findChild<QGroupBox*>("frmFrame")->title(), "Text box properties: URL");
        for (const char* hidden : {"txtURL", "txtTime", "txtFileName", "txtHelpTip", "txtZoom"})
            EXPECT_FALSE(dialog.findChild<QWidget*>(hidden)->isVisibleTo(&dialog)) << hidden;
        dialog.findChild<QCheckBox*>("chkVisible")->setChecked(false);
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    emit nav->itemDoubleClicked(nav->currentItem());

    // A picture under the start-up folder is stored relative to it.
    dialogs.chosen = startupFolder + "pics/a.gif";
    Find<QListWidget>("lstToolRun")->setCurrentRow(0);
    WithModal([](QWidget& dialog) {
        dialog.findChild<QCheckBox*>("chkVisible")->setChecked(true);
        dialog.findChild<QPushButton*>("cmdBrowse")->click();
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    Find<QPushButton>("cmdToolRunProps")->click();
    EXPECT_TRUE(buttons.ToolNavUrlVisible);  // kept only with the window
    Find<QPushButton>("cmdOK")->click();
    EXPECT_EQ(std::tuple(buttons.ToolNavUrlVisible, buttons.ToolRunButtons[0].Icon,
                         presentation.Pages[1].Time),
              std::tuple(false, "pics/a.gif", std::chrono::seconds(0)));
    EXPECT_PRED_FORMAT2(::testing::IsSubstring,
                        "URL=/srv/page.htm\r\nDefaultTime=False\r\nTime=0\r\nDays=Mon-Fri\r\n"
                        "From=7:00\r\nTo=10:30\r\n[Page3]",
                        Read(document.CurrentFile));
}

TEST_F(ConfigWindowTest, DelayBoxAndUpDownKeepInStep) {
    machine.ScreenSaveTimeOut = std::chrono::seconds(42);
    window.Open();
    auto* box = Find<QLineEdit>("txtScreenSaveTimeOut");
    auto* upDown = Find<QScrollBar>("updScreenSaveTimeOut");
    // From minutes and seconds the arrows go to the whole minute above or below (both ways:
    // OptionFields.BoxNumbersAndUpDowns).
    upDown->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the up arrow
    EXPECT_EQ(box->text(), "1");
    Type("txtScreenSaveTimeOut", "75");
    EXPECT_EQ(box->text(), "60");
    EXPECT_EQ(upDown->value(), 1);
    // Pasted over a box already at the limit, 75 stays until the box loses the focus.
    box->selectAll();
    box->insert("75");
    EXPECT_EQ(box->text(), "75");
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(box, &leave);
    EXPECT_EQ(box->text(), "60");
    // Typing still stops at a box's length, whatever it may be shown.
    Type("txtDefaultTime", "12345");
    EXPECT_EQ(Find<QLineEdit>("txtDefaultTime")->text(), "123");
}

TEST_F(ConfigWindowTest, NewAsksAboutChangesSavesWhatTheWindowShowsAndRefillsIt) {
    document.IsDefaultFile = true;
    window.Open();
    EXPECT_FALSE(Find("chkDefaultSS")->isEnabled());
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    Find<QAction>("mnuFile0")->trigger();  // Cancel: the question's text is the file commands'
    EXPECT_EQ(std::tuple(dialogs.calls.size(), toolbarsOnTop,
                         Find<QLineEdit>("txtHomePage")->text(), window.EditedFile().Modified),
              std::tuple(1u, 1, "http://typed/", true));

    const std::string saved = document.CurrentFile;
    dialogs.answer = Answer::Yes;
    Find<QAction>("mnuFile0")->trigger();
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "HomeURL=http://typed/", Read(saved));
    EXPECT_EQ(changes.size(), 1u);  // the tool bars follow the save
    // The new empty presentation fills the window, no longer the default file.
    EXPECT_EQ(
        std::tuple(Find<QListWidget>("lstPageList")->count(), window.EditedFile().Modified,
                   Find("chkDefaultSS")->isEnabled(), Find<QCheckBox>("chkDefaultSS")->isChecked()),
        std::tuple(0, false, true, false));
    EXPECT_TRUE(window.windowTitle().endsWith("NoName.tso")) << window.windowTitle().toStdString();
    Find<QPushButton>("cmdCancel")->click();
}

TEST_F(ConfigWindowTest, OkSavesAndClosesKeepingStoredValuesWholeThatTheBoxesCannotHold) {
    presentation.DefaultTime = std::chrono::seconds(3600);
    machine.ScreenSaveTimeOut = std::chrono::seconds(6042);
    machine.OnMouseMove = static_cast<MouseMovePolicy>(7);
    // Bytes that are not UTF-8 (E9) are shown as Windows-1252 and given back as they were.
    presentation.Pages[0] = {"http://a/\xe9", false, std::chrono::seconds(2000)};
    presentation.HomeURL = "http://home/caf\xe9" + std::string(1100, 'x');
    machine.EMail = "ren\xe9@example.org";
    machine.NTLogin = machine.NTPassword = machine.NTDomain = "\xe9";
    machine.AutoLogin = true;  // hidden here, and kept
    const MachineSettings stored = machine;
    window.Open();
    EXPECT_EQ(Find<QLineEdit>("txtDefaultTime")->text(), "3600");
    EXPECT_EQ(Find<QLineEdit>("txtHomePage")->text().size(), 1116);
    EXPECT_EQ(Find<QLineEdit>("txtEMail")->text(), QString::fromUtf8("ren\u00e9@example.org"));
    auto* delay = Find<QLineEdit>("txtScreenSaveTimeOut");
    EXPECT_EQ(delay->text(), "100:42");
    delay->grab();  // lays the text out as painted: with the cursor at its end, none scrolled away
    EXPECT_GE(delay->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(),
              delay->fontMetrics().horizontalAdvance(delay->text()));
    delay->setFocus();
    Find<QLineEdit>("txtDefaultTime")->setFocus();  // passing through is no edit
    EXPECT_EQ(delay->text(), "100:42");
    // A stored mouse move that names no option selects none, and says what that means.
    for (const char* option : {"optMouseMove0", "optMouseMove1", "optMouseMove2"})
        EXPECT_FALSE(Find<QRadioButton>(option)->isChecked()) << option;
    EXPECT_EQ(Find<QLabel>("lblToolRun")->text(),
              "Tool Run is not visible: the stored mouse-move choice is none of these");
    Find<QListWidget>("lstPageList")->setCurrentRow(0);
    WithModal([](QWidget& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("txtTime")->text(), "2000");
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    Find<QPushButton>("cmdListProps")->click();
    Find<QCheckBox>("chkLocked")->setChecked(true);
    Find<QPushButton>("cmdExcGrab")->click();
    Find<QPushButton>("cmdOK")->click();
    EXPECT_EQ(std::tuple(player.closed, changes),
              std::tuple(std::vector<bool>{true}, std::vector{ShowChange::Now}));
    EXPECT_EQ(std::tuple(window.isVisible(), window.EditedFile().Modified,
                         presentation.DefaultTime.count(), machine.ScreenSaveTimeOut.count(),
                         static_cast<int>(machine.OnMouseMove), presentation.Pages[0].Time.count(),
                         presentation.Pages[0].URL, presentation.HomeURL),
              std::tuple(false, false, 3600, 6042, 7, 2000, "http://a/\xe9",
                         "http://home/caf\xe9" + std::string(1100, 'x')));
    EXPECT_EQ(std::tuple(machine.EMail, machine.AutoLogin, machine.NTLogin, machine.NTPassword,
                         machine.NTDomain),
              std::tuple(stored.EMail, true, stored.NTLogin, stored.NTPassword, stored.NTDomain));
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "[Exclude1]\r\nURL=http://stage/\r\n",
                        Read(document.CurrentFile));
    EXPECT_EQ(registry.QueryValue(RegRoot::LocalMachine, kMachineKey, "Locked"), "Yes");
}

TEST_F(ConfigWindowTest, BoxesAreStoredAsShownOrRefusedByNameOnTheirTab) {
    // The box, a number for its up-down first, the text typed, a part of the refusal ("" when
    // accepted) and the tab shown with it.
    const std::tuple<const char*, const char*, const char*, const char*, int> rows[] = {
        {"txtEMail", "", "first.last-at-example@org", "Incorrect e-mail address", kAboutTab},
        {"txtScreenDays", "", "Mo-Fr", "Screen on days cannot be \"Mo-Fr\"", 8},
        {"txtScreenOn", "", "7am", "Screen on at cannot be \"7am\"", 8},
        {"txtScreenOff", "", "24:30", "Screen off at", 8},
        {"txtIdlePage", "", "About:Config", "the kiosk shows no \"about:\" page but", 8},
        {"txtOfflinePage", "", "javascript:x()", "unreachable cannot be \"javascript:x()\"", 8},
        {"txtDefaultTime", "", "15s", "Default display time", 1},
        {"txtScreenSaveTimeOut", "1", "-5", "Screen save delay", 1},
        {"txtRebootTimeH", "", "25", "Reboot time", 7},
        {"txtZoom", "", "24", "Page zoom: enter a percentage from 25 to 500", 8},
        {"txtZoom", "", "600", "Page zoom", 8},
        {"txtScreenSaveTimeOut", "", "1:30", "", 1},  // typed as it is shown
        {"txtScreenSaveTimeOut", "", "10", "", 1},    // emptied and typed: not refilled on the way
        {"txtDefaultTime", "", "0", "", 1},           // pages stay until a command
        {"txtScreenOff", "", "22:00", "", 8},
        {"txtZoom", "", "150", "", 8},  // typed through 1 and 15, below the up-down's range
    };
    for (const auto& [box, before, text, refusal, tab] : rows) {
        SCOPED_TRACE(std::string(box) + " " + text);
        window.Open();
        Find<QCheckBox>("chkReboot")->setChecked(true);
        if (*before != 0) Find<QLineEdit>(box)->setText(before);
        Type(box, text);
        EXPECT_EQ(Find<QLineEdit>(box)->text().toStdString(), text);
        dialogs.calls.clear();
        Find<QPushButton>("cmdOK")->click();
        if (*refusal == 0) {
            EXPECT_TRUE(dialogs.calls.empty());
            continue;
        }
        // One line: the window was not still on top under the message.
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_PRED_FORMAT2(::testing::IsSubstring, refusal, dialogs.calls[0]);
        EXPECT_EQ(std::tuple(window.CurrentTab(), window.isVisible(),
                             window.windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                             QFile::exists(QString::fromStdString(document.CurrentFile))),
                  std::tuple(tab, true, true, false));
        Find<QPushButton>("cmdCancel")->click();
    }
    EXPECT_EQ(std::tuple(machine.ScreenSaveTimeOut.count(), presentation.DefaultTime.count(),
                         machine.ScreenOn, machine.ScreenOff, presentation.Zoom),
              std::tuple(600, 0, "", "22:00", 150));
}

TEST_F(ConfigWindowTest, OpenBringsTheFilesOwnSettingsAndAChangeOnDiskIsNotOverwrittenUnasked) {
    const std::string other = temp.Write(
        "other.tso",
        "[Tessaro]\r\nHomeURL=http://b/\r\nScreenSaveActive=No\r\nOnMouseMove=0\r\n[Page1]\r\n"
        "URL=http://b1/\r\n[ToolRunQuit]\r\nHelpTip=Leave\r\nVisible=No\r\n");
    window.Open();
    // A file that holds no presentation is refused.
    dialogs.chosen = temp.Write("notes.txt", "just notes\r\n");
    Find<QAction>("mnuFile1")->trigger();
    EXPECT_EQ(dialogs.calls.back(),
              "error \"" + dialogs.chosen + "\" holds no presentation sections.");
    dialogs.chosen = other;
    Find<QAction>("mnuFile1")->trigger();
    EXPECT_FALSE(Find<QCheckBox>("chkScreenSaveActive")->isChecked());
    EXPECT_EQ(Lines("lstToolRun")[4], "Leave");
    EXPECT_EQ(window.windowTitle().toStdString(), "Pagelark - " + other);
    Find<QPushButton>("cmdOK")->click();
    // The show plays the opened file from its first page.
    EXPECT_EQ(std::tuple(document.CurrentFile, presentation.Pages[0].URL, changes),
              std::tuple(other, "http://b1/", std::vector{ShowChange::FromFirstPage}));
    // Each key alone is the golden toolbars.tso's; here the opened file's reach the save.
    for (const char* part : {"ScreenSaveActive=No", "OnMouseMove=0",
                             "[ToolRunQuit]\r\nHelpTip=Leave\r\nIcon=\r\nVisible=No"})
        EXPECT_PRED_FORMAT2(::testing::IsSubstring, part, Read(other));

    const std::string outside = "[Tessaro]\r\nHomeURL=http://outside/\r\n";
    temp.Write("other.tso", outside);
    window.Open();
    Find<QLineEdit>("txtHomePage")->setText("http://typed/");
    dialogs.calls.clear();
    Find<QPushButton>("cmdOK")->click();  // the question is cancelled
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].starts_with("reload ")) << dialogs.calls[0];
    EXPECT_EQ(Read(other), outside);
    EXPECT_TRUE(window.isVisible());
    dialogs.reloadAnswer = Answer::Yes;
    Find<QPushButton>("cmdOK")->click();
    EXPECT_EQ(Find<QLineEdit>("txtHomePage")->text(), "http://outside/");
    EXPECT_EQ(Read(other), outside);
    Find<QPushButton>("cmdOK")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(std::tuple(presentation.HomeURL, changes.size(), changes.back()),
              std::tuple("http://outside/", 2u, ShowChange::FromFirstPage));  // reloaded
}

TEST_F(ConfigWindowTest, FilesThatHoldNoPresentationAreNeverOverwritten) {
    // Opened at start-up: said once the window is up, and OK asks for another name first.
    const std::string notes = temp.Write("notes.txt", "just notes\r\n");
    document.CurrentFile = notes;
    LoadPresentation(presentation, document, context, notes);
    window.Open();
    QApplication::processEvents();
    Find<QPushButton>("cmdOK")->click();
    ASSERT_EQ(dialogs.calls.size(), 3u);
    EXPECT_EQ(dialogs.calls[0], "error \"" + notes + "\" holds no presentation sections.");
    EXPECT_TRUE(dialogs.calls[1].starts_with("error ")) << dialogs.calls[1];
    EXPECT_TRUE(dialogs.calls[2].starts_with("save File Save As")) << dialogs.calls[2];
    EXPECT_EQ(Read(notes), "just notes\r\n");
    EXPECT_TRUE(window.isVisible());
    Find<QPushButton>("cmdCancel")->click();

    // A published presentation's copy is no fault: told once, as information.
    document.CurrentFile = temp.Write("copy.tso", "[Page1]\r\nURL=http://a/\r\n");
    LoadPresentation(presentation, document, context, document.CurrentFile);
    MarkPublished(document, "https://s/lobby.tso");
    dialogs.calls.clear();
    window.Open();
    QApplication::processEvents();
    Find<QPushButton>("cmdOK")->click();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_TRUE(dialogs.calls[0].starts_with("info ")) << dialogs.calls[0];
    EXPECT_TRUE(dialogs.calls[1].starts_with("save File Save As")) << dialogs.calls[1];
}

// Every setting a managed file may set greys the window's controls its row names, and only
// them; a save keeps the file's and the store's own values of them.
TEST_F(ConfigWindowTest, ManagedSettingsAreGreyedByTheRowsNameAndOkLeavesTheirOwnValuesAsTheyWere) {
    temp.Write("show.tso",
               "[Tessaro]\r\nAutoLoop=No\r\nScreenSaveTimeOut=120\r\n[Page1]\r\nURL=http://a/\r\n");
    LoadPresentation(presentation, document, context, document.CurrentFile);
    ASSERT_TRUE(settings.WriteMachineSetting("RebootTime", "01:05"));
    const auto take = [&](ManagedSettings managed) {
        TakeManaged(settings, std::move(managed), document.CurrentFile, presentation, machine,
                    45000.5);
    };
    ManagedSettings managed{{{"AutoLoop", "Yes"},
                             {"ScreenSaveTimeOut", "600"},
                             {"Locked", "Yes"},
                             {"RebootTime", "4:15"},
                             {"DefaultFile", document.CurrentFile}}};
    for (const SettingRow& row : SettingTable()) {  // the others at their defaults
        if (row.managed && !ControlStem(row).empty())
            managed.values.emplace(std::string(row.name), std::string(row.defaultText));
    }
    take(managed);
    document.IsDefaultFile = true;  // as a start on the managed default finds it
    const auto shown = [this](const char* name) {
        if (auto* check = Find<QCheckBox>(name)) return QString(check->isChecked() ? "on" : "off");
        return Find<QLineEdit>(name)->text();
    };
    window.Open();
    const std::pair<const char*, QString> rows[] = {
        {"chkAutoLoop", "on"},    {"txtScreenSaveTimeOut", "10"}, {"chkLocked", "on"},
        {"txtRebootTimeH", "04"}, {"chkDefaultSS", "on"},
    };
    for (const auto& [name, shows] : rows)
        EXPECT_EQ(shown(name), shows) << name;
    const QList<QWidget*> widgets = window.findChildren<QWidget*>();
    int greyed = 0;
    for (const ManagedControl& control : ManagedControls(managed)) {
        SCOPED_TRACE(std::string(control.stem));
        int found = 0;
        for (const QWidget* widget : widgets) {
            if (widget->window() != &window || !ShowsSetting(widget, control.stem)) continue;
            ++found;
            EXPECT_FALSE(widget->isEnabled()) << S(widget->objectName());
        }
        EXPECT_GT(found, 0);
        greyed += found;
    }
    EXPECT_EQ(std::ranges::count(widgets, "Set by your administrator", &QWidget::toolTip), greyed);
    Find<QPushButton>("cmdOK")->click();
    EXPECT_EQ(player.closed, std::vector<bool>{true});
    for (const char* line : {"\r\nAutoLoop=No\r\n", "\r\nScreenSaveTimeOut=120\r\n"})
        EXPECT_PRED_FORMAT2(::testing::IsSubstring, line, Read(document.CurrentFile));
    EXPECT_EQ(registry.QueryValue(RegRoot::LocalMachine, kMachineKey, "RebootTime"), "01:05");
    EXPECT_EQ(registry.QueryValue(RegRoot::LocalMachine, kMachineKey, "Locked"), "");
    EXPECT_EQ(registry.QueryValue(RegRoot::LocalMachine, kMachineKey, "DefaultFile"), "");

    // Once the files are gone, the window shows and lets the operator change the own values.
    take({});
    window.Open();
    EXPECT_EQ(std::tuple(shown("chkAutoLoop"), shown("txtScreenSaveTimeOut"),
                         Find("txtScreenSaveTimeOut")->isEnabled(), Find("chkLocked")->isEnabled(),
                         Find("chkLocked")->toolTip().startsWith("No tool bar")),
              std::tuple("off", "2", true, true, true));
}

// A machine setting that cannot be stored must not pass for saved.
TEST_F(ConfigWindowTest, ASettingsStoreThatCannotBeWrittenIsNamedAndTheWindowStays) {
    temp.Write("registry/machine.reg/x", "");
    window.Open();
    Find<QLineEdit>("txtEMail")->setText("new@example.org");
    Find<QPushButton>("cmdOK")->click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, temp.File("registry/machine.reg"),
                        dialogs.calls[0]);
    EXPECT_EQ(std::tuple(window.isVisible(), player.closed.size()), std::tuple(true, 0u));
}

}  // namespace
}  // namespace pagelark
