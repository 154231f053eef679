#include "common/prompt.h"
#include "gui/aircraft/aircraft_enabler_window.h"
#include "gui/launcher/tool_windows.h"
#include "journal/change_journal.h"
#include "platform/profile.h"
#include "support/fixtures.h"
#include "support/list_rows.h"
#include "support/qt_app.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using vokari::test::child;

namespace fs = std::filesystem;

namespace vokari::ui {
namespace {

using test::readFile;
using test::sjis;
using test::writeFile;

const std::string kCaption = "航空機ファイル設定";
const std::string kStockWarning = "デフォルト航空機は無効化できません。\r\n"
                                  "編集する場合は[オプション]メニューから\r\n"
                                  "[デフォルト航空機の編集を許可]を選択してください。";
const std::string kStockDeletion = "選択した航空機の中にデフォルト航空機が含まれています。\r\n"
                                   "デフォルト航空機は削除できません。";
const std::string kConfirmDeletion = "削除した航空機は変更履歴から元に戻せます。\r\n"
                                     "選択した航空機のファイルを削除しますか？";
const std::string kAskSave = "データは変更されています。変更を保存しますか？";

// Toolbar positions, counted from 0.
enum Button { kSave = 0, kUndo = 2, kActive = 3, kInactive = 4, kDelete = 6 };

// LF line ends: a file the window switched would have CR LF ones.
std::string aircraftFile(const std::string& title) {
    return sjis("[fltsim.0]\ntitle=" + title + "\nsim=" + title + "\n");
}

class AircraftEnablerWindowTest : public ::testing::Test {
protected:
    AircraftEnablerWindowTest() {
        test::qtApp();
        addAircraft("a6m2", "A6M2 Zero"); // stock
        addAircraft("F4F4", "F4F-4 Wildcat");
        addAircraft("Ki61", "Ki-61 飛燕");
        addAircraft("J2M3", "J2M3 雷電");
        writeFile(folder / "Spit9" / "aircraft.cfg.rst", aircraftFile("Spitfire Mk IX"));
        writeFile(folder / "J2M3" / "model" / "j2m3.mdl", "model");
    }

    void addAircraft(const std::string& dir, const std::string& title) {
        writeFile(folder / dir / "aircraft.cfg", aircraftFile(title));
    }

    std::unique_ptr<AircraftEnablerWindow> open() {
        return test::shownWindow<AircraftEnablerWindow>(2);
    }

    static QTreeView* list(const QWidget& w) { return child<QTreeView>(w, "LstAircraft"); }
    static QAction* button(const QWidget& w, Button index) {
        return child<QToolBar>(w, "TBar")->actions().at(index);
    }
    static test::ListRow row(const QWidget& w, const char* dir) {
        const auto found = test::findRows(list(w), QString::fromUtf8(dir), 2);
        EXPECT_EQ(found.size(), 1u) << dir;
        return found.empty() ? test::ListRow{list(w), -1} : found.front();
    }
    static bool listed(const QWidget& w, const char* dir) {
        return !test::findRows(list(w), QString::fromUtf8(dir), 2).empty();
    }
    static int count(const QWidget& w) { return test::rowCount(list(w)); }
    static QString state(const QWidget& w, const char* dir) { return row(w, dir).text(0); }
    static void select(const QWidget& w, std::initializer_list<const char*> dirs) {
        list(w)->clearSelection();
        for (const char* dir : dirs)
            row(w, dir).setSelected(true);
    }
    static void doubleClick(const QWidget& w, const char* dir) {
        QTreeView* l = list(w);
        const QPoint at = row(w, dir).rect().center();
        // The first click of the two, then the second that makes it a double-click.
        QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    static void keys(QWidget& w, QKeyCombination combination) {
        QTest::keyClick(&w, combination.key(), combination.keyboardModifiers());
    }
    // Deleting runs off the window's thread.
    static void waitForDeletion(const AircraftEnablerWindow& w) {
        EXPECT_TRUE(QTest::qWaitFor([&w] { return !w.isDeleting(); }, 10000));
    }

    bool on(const char* dir) const { return fs::exists(folder / dir / "aircraft.cfg"); }
    bool off(const char* dir) const { return fs::exists(folder / dir / "aircraft.cfg.rst"); }

    test::TestPrefix prefix;
    fs::path folder = prefix.installGame(2, "C:\\Games\\CFS2") / "Aircraft";
    ScriptedPrompt prompt;
};

TEST_F(AircraftEnablerWindowTest, ListsEveryAircraftSwitchedOnOrOff) {
    auto tool = createToolWindow(LauncherTool::Enabler, 2, nullptr);
    ASSERT_NE(dynamic_cast<AircraftEnablerWindow*>(tool.get()), nullptr);
    tool.reset();
    writeFile(folder / "Ki61/panel/panel.cfg", "[fltsim]\r\nalias=a6m2\\panel\r\n");

    auto w = open();
    QTreeView* l = list(*w);
    EXPECT_EQ(l->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(count(*w), 5);
    const test::ListRow zero = row(*w, "a6m2");
    EXPECT_EQ(zero.text(0), QStringLiteral("ON"));
    EXPECT_EQ(zero.text(1), QStringLiteral("DEF"));
    EXPECT_EQ(zero.text(3), QStringLiteral("A6M2 Zero"));
    const test::ListRow spit = row(*w, "Spit9");
    EXPECT_EQ(spit.text(0), QStringLiteral("  ")) << "switched off: only the .rst file";
    EXPECT_EQ(spit.text(1), QStringLiteral(" "));
    EXPECT_EQ(row(*w, "Ki61").text(3), QString::fromUtf8("Ki-61 飛燕"));
    // What an aircraft borrows shows on its title.
    EXPECT_EQ(row(*w, "Ki61").toolTip(3), QString::fromUtf8("音声: なし\nパネル: a6m2"));
    EXPECT_TRUE(zero.toolTip(3).isEmpty());

    const QList<QAction*> bar = child<QToolBar>(*w, "TBar")->actions();
    ASSERT_EQ(bar.size(), 7);
    EXPECT_TRUE(bar[1]->isSeparator() && bar[5]->isSeparator());
    for (Button b : {kSave, kUndo, kActive, kInactive, kDelete})
        EXPECT_FALSE(bar[b]->icon().isNull()) << bar[b]->toolTip().toStdString();
    EXPECT_FALSE(bar[kSave]->isEnabled());
    EXPECT_FALSE(bar[kUndo]->isEnabled());
    EXPECT_TRUE(bar[kActive]->isEnabled() && bar[kInactive]->isEnabled());
    EXPECT_TRUE(bar[kDelete]->isEnabled());
    EXPECT_FALSE(child<QAction>(*w, "mnuFile_Save")->isEnabled());
    EXPECT_FALSE(child<QAction>(*w, "mnuEdit_Undo")->isEnabled());
    EXPECT_FALSE(child<QAction>(*w, "MnuOpt_EditDefAircraft")->isChecked());
    EXPECT_FALSE(child<QAction>(*w, "mnuOpt_DeleteGauges")->isVisible());
    w->close();
    EXPECT_TRUE(prompt.asked().empty());
}

TEST_F(AircraftEnablerWindowTest, StockAircraftWarnOncePerSwitchAndAreNeverDeleted) {
    auto w = open();
    select(*w, {"a6m2", "F4F4", "Ki61"});
    button(*w, kInactive)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u) << "once for both stock aircraft";
    EXPECT_EQ(prompt.asked()[0].title, kCaption);
    EXPECT_EQ(prompt.asked()[0].text, kStockWarning);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Warning);
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(state(*w, "a6m2"), QStringLiteral("ON"));
    EXPECT_EQ(state(*w, "F4F4"), QStringLiteral("ON"));
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("  ")) << "the add-on is switched off";
    EXPECT_TRUE(button(*w, kSave)->isEnabled());

    // A double-click on a stock aircraft warns likewise and changes nothing.
    doubleClick(*w, "a6m2");
    EXPECT_EQ(prompt.asked().size(), 2u);
    EXPECT_EQ(state(*w, "a6m2"), QStringLiteral("ON"));

    // Allowed from the Options menu, they switch off without a word...
    prompt.clear();
    child<QAction>(*w, "MnuOpt_EditDefAircraft")->trigger();
    EXPECT_TRUE(child<QAction>(*w, "MnuOpt_EditDefAircraft")->isChecked());
    select(*w, {"a6m2", "F4F4"});
    button(*w, kInactive)->trigger();
    EXPECT_EQ(state(*w, "a6m2"), QStringLiteral("  "));
    EXPECT_EQ(state(*w, "F4F4"), QStringLiteral("  "));
    // ...and on again with or without it.
    child<QAction>(*w, "MnuOpt_EditDefAircraft")->trigger();
    EXPECT_FALSE(child<QAction>(*w, "MnuOpt_EditDefAircraft")->isChecked());
    select(*w, {"F4F4"});
    button(*w, kActive)->trigger();
    EXPECT_EQ(state(*w, "F4F4"), QStringLiteral("ON"));
    EXPECT_TRUE(prompt.asked().empty());

    // The option does not open deletion: refused before the confirmation.
    child<QAction>(*w, "MnuOpt_EditDefAircraft")->trigger();
    select(*w, {"J2M3", "a6m2"});
    button(*w, kDelete)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, kStockDeletion);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(fs::exists(folder / "J2M3" / "model" / "j2m3.mdl"));
    EXPECT_EQ(count(*w), 5);

    button(*w, kSave)->trigger();
    EXPECT_TRUE(off("a6m2") && !on("a6m2"));
    EXPECT_TRUE(off("Ki61") && !on("Ki61"));
    EXPECT_TRUE(on("F4F4") && !off("F4F4"));
    EXPECT_EQ(readFile(folder / "F4F4" / "aircraft.cfg"), aircraftFile("F4F-4 Wildcat"))
        << "switched off and on again before saving: untouched";
    EXPECT_FALSE(button(*w, kSave)->isEnabled());
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    w->close();
    EXPECT_FALSE(w->isVisible()) << "saved: nothing to ask";
    EXPECT_EQ(prompt.asked().size(), 1u);
}

TEST_F(AircraftEnablerWindowTest, DoubleClickTogglesAndTwiceSavesNothing) {
    auto w = open();
    doubleClick(*w, "Ki61");
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("  "));
    EXPECT_TRUE(button(*w, kSave)->isEnabled());
    doubleClick(*w, "Ki61");
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("ON"));
    keys(*w, Qt::CTRL | Qt::Key_S);
    EXPECT_FALSE(button(*w, kSave)->isEnabled()) << "saved by its shortcut";
    EXPECT_EQ(readFile(folder / "Ki61" / "aircraft.cfg"), aircraftFile("Ki-61 飛燕"));
    EXPECT_FALSE(off("Ki61"));
    EXPECT_TRUE(prompt.asked().empty());
    w->close();
}

TEST_F(AircraftEnablerWindowTest, ADoubleClickWithNothingToToggleDoesNothing) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto w = open();
    EXPECT_EQ(count(*w), 0);
    QTest::mouseDClick(list(*w)->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    w->reverseEnableFlg();
    EXPECT_FALSE(button(*w, kSave)->isEnabled());
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    EXPECT_TRUE(prompt.asked().empty());
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(AircraftEnablerWindowTest, UndoGoesBackOneStep) {
    auto w = open();
    doubleClick(*w, "Ki61");
    keys(*w, Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("ON"));
    EXPECT_FALSE(button(*w, kSave)->isEnabled()) << "unchanged again, as before the toggle";
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    EXPECT_FALSE(child<QAction>(*w, "mnuEdit_Undo")->isEnabled());

    // Only the last edit goes back; what came before stays changed.
    doubleClick(*w, "Ki61");
    select(*w, {"J2M3", "Spit9"});
    button(*w, kInactive)->trigger();
    EXPECT_EQ(state(*w, "J2M3"), QStringLiteral("  "));
    EXPECT_TRUE(button(*w, kUndo)->isEnabled());
    button(*w, kUndo)->trigger();
    EXPECT_EQ(state(*w, "J2M3"), QStringLiteral("ON"));
    EXPECT_EQ(state(*w, "Spit9"), QStringLiteral("  "));
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("  "));
    EXPECT_TRUE(button(*w, kSave)->isEnabled()) << "the toggle before is still unsaved";
    w->undo(); // a second undo does nothing
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("  "));
    EXPECT_TRUE(button(*w, kSave)->isEnabled());

    // Switching with nothing selected drops the record.
    doubleClick(*w, "J2M3");
    EXPECT_TRUE(button(*w, kUndo)->isEnabled());
    list(*w)->clearSelection();
    button(*w, kActive)->trigger();
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    button(*w, kUndo)->trigger();
    w->undo();
    EXPECT_EQ(state(*w, "J2M3"), QStringLiteral("  ")) << "the toggle stays";

    button(*w, kSave)->trigger();
    EXPECT_TRUE(off("Ki61") && off("J2M3"));
    EXPECT_TRUE(off("Spit9") && !on("Spit9"));
    EXPECT_TRUE(prompt.asked().empty());
    w->close();
}

TEST_F(AircraftEnablerWindowTest, DeletionAlwaysAsksFirst) {
    auto w = open();
    doubleClick(*w, "Ki61");
    list(*w)->clearSelection();
    prompt.queue(PromptAnswer::Yes);
    keys(*w, QKeyCombination(Qt::Key_Delete));
    ASSERT_EQ(prompt.asked().size(), 1u) << "asked with nothing selected too";
    EXPECT_EQ(prompt.asked()[0].text, kConfirmDeletion);
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.asked()[0].defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Warning);
    EXPECT_EQ(count(*w), 5);
    EXPECT_TRUE(button(*w, kSave)->isEnabled()) << "the switch made before is still unsaved";
    EXPECT_TRUE(button(*w, kUndo)->isEnabled()) << "nothing it recorded was deleted";

    select(*w, {"J2M3", "Ki61"});
    prompt.queue(PromptAnswer::No);
    button(*w, kDelete)->trigger();
    EXPECT_TRUE(fs::exists(folder / "J2M3" / "model" / "j2m3.mdl"));
    EXPECT_EQ(count(*w), 5);

    select(*w, {"J2M3"});
    prompt.queue(PromptAnswer::Yes);
    button(*w, kDelete)->trigger();
    waitForDeletion(*w);
    EXPECT_EQ(prompt.asked().size(), 3u);
    EXPECT_FALSE(fs::exists(folder / "J2M3"));
    EXPECT_EQ(count(*w), 4);
    EXPECT_TRUE(!listed(*w, "J2M3"));

    // The toggle made before the deletion is written by the next save.
    EXPECT_TRUE(on("Ki61"));
    select(*w, {"Spit9"});
    button(*w, kActive)->trigger();
    EXPECT_TRUE(button(*w, kSave)->isEnabled());
    button(*w, kSave)->trigger();
    EXPECT_TRUE(off("Ki61") && !on("Ki61"));
    EXPECT_TRUE(on("Spit9") && !off("Spit9"));
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(AircraftEnablerWindowTest, FilesThatCouldNotBeDeletedAreToldAndAnAircraftFileKeepsItsRow) {
    // Without the journal the folder is deleted file by file, as when it cannot be kept whole.
    struct JournalOff {
        JournalOff() { setJournalEnabled(false); }
        ~JournalOff() { setJournalEnabled(true); }
    } journalOff;
    const auto lock = [](const fs::path& file) {
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::remove);
    };
    const fs::path model = folder / "J2M3" / "model" / "j2m3.mdl";
    lock(model);
    // Ki61 keeps its aircraft file and six more: more than a message names.
    lock(folder / "Ki61" / "aircraft.cfg");
    for (int i = 0; i < 6; ++i) {
        const fs::path texture = folder / "Ki61" / "texture" / ("t" + std::to_string(i) + ".bmp");
        writeFile(texture, "texture");
        lock(texture);
    }
    auto w = open();
    doubleClick(*w, "Ki61");
    select(*w, {"Ki61", "J2M3"});
    prompt.queue(PromptAnswer::Yes);
    button(*w, kDelete)->trigger();
    waitForDeletion(*w);
    ASSERT_EQ(prompt.asked().size(), 2u);
    EXPECT_EQ(prompt.asked()[1].icon, PromptIcon::Warning);

    // Per aircraft: how many stay, the first few named as the player finds them on this system.
    const QStringList lines =
        QString::fromStdString(prompt.asked()[1].text).split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 1);
    EXPECT_EQ(lines[0], QString::fromUtf8("削除できなかったファイルがあります。"));
    const qsizetype j2m3 = lines.indexOf(
        QString::fromUtf8("J2M3 (J2M3 雷電): 1 個のファイルまたはフォルダが残っています。"));
    ASSERT_GT(j2m3, 0) << prompt.asked()[1].text;
    EXPECT_EQ(lines.value(j2m3 + 1).toStdString(), model.string());
    const qsizetype ki61 = lines.indexOf(
        QString::fromUtf8("Ki61 (Ki-61 飛燕): 7 個のファイルまたはフォルダが残っています。"));
    ASSERT_GT(ki61, 0) << prompt.asked()[1].text;
    EXPECT_EQ(lines.value(ki61 + 1),
              QString::fromUtf8("航空機ファイルが残っているため、一覧に残しています。"));
    for (int i = 2; i < 7; ++i)
        EXPECT_TRUE(
            lines.value(ki61 + i).startsWith(QString::fromStdString((folder / "Ki61").string())))
            << lines.value(ki61 + i).toStdString();
    EXPECT_EQ(lines.value(ki61 + 7), QString::fromUtf8("ほか 2 件"));

    // J2M3 is gone from the game's list and the window's; Ki61 is shown as the disk has it.
    EXPECT_TRUE(fs::exists(model));
    EXPECT_TRUE(!listed(*w, "J2M3"));
    EXPECT_EQ(count(*w), 4);
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("ON"));
    EXPECT_EQ(row(*w, "Ki61").text(3), QString::fromUtf8("Ki-61 飛燕"));
    EXPECT_FALSE(button(*w, kSave)->isEnabled()) << "its switch went with the deletion";
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(AircraftEnablerWindowTest, TheQuestionNamesWhatGoesAndTheWindowWaitsForTheDeletion) {
    std::vector<std::string> dirs;
    for (int i = 10; i < 22; ++i) {
        dirs.push_back("Add" + std::to_string(i));
        addAircraft(dirs.back(), "Add-on " + std::to_string(i));
    }
    auto w = open();
    // Named as the list shows them, in its order.
    std::vector<std::string> names;
    list(*w)->clearSelection();
    for (int i = 0; i < count(*w); ++i) {
        const test::ListRow r = test::rowAt(list(*w), i);
        if (!r.text(2).startsWith(QStringLiteral("Add")))
            continue;
        r.setSelected(true);
        names.push_back(r.text(2).toStdString() + " (" + r.text(3).toStdString() + ")");
    }
    ASSERT_EQ(names.size(), 12u);
    std::string question = kConfirmDeletion;
    for (size_t i = 0; i < 10; ++i)
        question += "\r\n  " + names[i];
    question += "\r\n  ほか 2 機";

    prompt.queue(PromptAnswer::Yes);
    button(*w, kDelete)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, question);

    // While it runs the window shows how far it is, takes no command, and a closing waits.
    ASSERT_TRUE(w->isDeleting());
    EXPECT_TRUE(child<QProgressBar>(*w, "PrgBar")->isVisible());
    EXPECT_FALSE(child<QToolBar>(*w, "TBar")->isEnabled());
    EXPECT_FALSE(child<QMenuBar>(*w, "menuBar")->isEnabled());
    keys(*w, QKeyCombination(Qt::Key_Delete));
    w->close();
    EXPECT_TRUE(w->isVisible());
    waitForDeletion(*w);
    EXPECT_EQ(prompt.asked().size(), 1u) << "no second deletion";
    EXPECT_FALSE(w->isVisible()) << "closed once the deletion ended";
    EXPECT_TRUE(child<QToolBar>(*w, "TBar")->isEnabled());
    EXPECT_FALSE(child<QProgressBar>(*w, "PrgBar")->isVisibleTo(w.get()));
    EXPECT_EQ(count(*w), 5);
    for (const std::string& dir : dirs)
        EXPECT_FALSE(fs::exists(folder / dir)) << dir;
}

TEST_F(AircraftEnablerWindowTest, ASwitchedOffAircraftSwitchedOnGetsItsFileBack) {
    auto w = open();
    EXPECT_EQ(state(*w, "Spit9"), QStringLiteral("  "));
    select(*w, {"Spit9"});
    child<QAction>(*w, "MnuEdit_Active")->trigger();
    EXPECT_EQ(state(*w, "Spit9"), QStringLiteral("ON"));
    child<QAction>(*w, "mnuFile_Save")->trigger();
    EXPECT_EQ(readFile(folder / "Spit9" / "aircraft.cfg"),
              sjis("[fltsim.0]\r\ntitle=Spitfire Mk IX\r\nsim=Spitfire Mk IX\r\n"));
    EXPECT_FALSE(off("Spit9"));
    w->close();
}

TEST_F(AircraftEnablerWindowTest, ClosingWithChangesAsks) {
    auto w = open();
    doubleClick(*w, "Ki61");
    prompt.queue(PromptAnswer::Cancel);
    w->close();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].title, kCaption);
    EXPECT_EQ(prompt.asked()[0].text, kAskSave);
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(w->isVisible()) << "Cancel keeps it open";
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible()) << "Escape does not close it";
    EXPECT_EQ(prompt.asked().size(), 1u);

    prompt.queue(PromptAnswer::No);
    child<QAction>(*w, "mnuFile_Exit")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(on("Ki61") && !off("Ki61")) << "No writes nothing";

    w = open();
    doubleClick(*w, "Ki61");
    prompt.queue(PromptAnswer::Yes);
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(prompt.asked().size(), 3u);
    EXPECT_TRUE(off("Ki61") && !on("Ki61")) << "Yes writes";
}

TEST_F(AircraftEnablerWindowTest, AFailedSaveSavesTheRestAndNamesEveryAircraftItCouldNot) {
    const fs::path ki61 = folder / "Ki61" / "aircraft.cfg";
    const fs::path spit9 = folder / "Spit9" / "aircraft.cfg.rst";
    for (const fs::path& locked : {ki61, spit9})
        fs::permissions(locked, fs::perms::owner_write | fs::perms::group_write,
                        fs::perm_options::remove);
    auto w = open();
    select(*w, {"Ki61", "J2M3"});
    button(*w, kInactive)->trigger();
    select(*w, {"Spit9"});
    button(*w, kActive)->trigger();
    button(*w, kSave)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Error);
    // One message, in list order, each worded in the window's language with its file named by
    // the path it has on this system.
    const std::string ki61Lines = "Ki61 (Ki-61 飛燕)\r\n"
                                  "次のファイルを削除できませんでした。\r\n" +
                                  ki61.string() + "\r\n読み取り専用です。";
    const std::string spit9Lines = "Spit9 (Spitfire Mk IX)\r\n"
                                   "次のファイルを削除できませんでした。\r\n" +
                                   spit9.string() + "\r\n読み取り専用です。";
    const bool ki61First = row(*w, "Ki61").row < row(*w, "Spit9").row;
    EXPECT_EQ(prompt.asked()[0].text,
              "次の航空機の有効・無効を保存できませんでした。\r\n" +
                  (ki61First ? ki61Lines + "\r\n" + spit9Lines : spit9Lines + "\r\n" + ki61Lines));
    // J2M3 is saved whatever its place; the two that failed stay unsaved.
    EXPECT_TRUE(off("J2M3") && !on("J2M3"));
    EXPECT_TRUE(on("Ki61") && !off("Ki61"));
    EXPECT_TRUE(off("Spit9") && !on("Spit9"));
    EXPECT_TRUE(button(*w, kSave)->isEnabled());
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("  "));
    EXPECT_EQ(state(*w, "Spit9"), QStringLiteral("ON"));
    // Undo would set Spit9 back in memory only: the disk holds it as recorded, so it stays.
    EXPECT_TRUE(button(*w, kUndo)->isEnabled());

    // The save the closing question starts fails the same way: the window stays.
    prompt.queue(PromptAnswer::Yes);
    w->close();
    EXPECT_EQ(prompt.asked().size(), 3u);
    EXPECT_EQ(prompt.asked()[1].text, kAskSave);
    EXPECT_EQ(prompt.asked()[2].icon, PromptIcon::Error);
    EXPECT_TRUE(w->isVisible());

    // Once the files can go, the same save goes through.
    for (const fs::path& locked : {ki61, spit9})
        fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
    button(*w, kSave)->trigger();
    EXPECT_EQ(prompt.asked().size(), 3u);
    EXPECT_TRUE(off("Ki61") && !on("Ki61"));
    EXPECT_TRUE(on("Spit9") && !off("Spit9"));
    EXPECT_FALSE(button(*w, kSave)->isEnabled());
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(AircraftEnablerWindowTest, UndoStaysWhileTheDiskHoldsWhatItRecorded) {
    // A save that wrote nothing: the toggle can still be taken back.
    const fs::path locked = folder / "Ki61" / "aircraft.cfg";
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::remove);
    auto w = open();
    doubleClick(*w, "Ki61");
    button(*w, kSave)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_TRUE(button(*w, kUndo)->isEnabled());
    keys(*w, QKeyCombination(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("ON"));
    EXPECT_FALSE(button(*w, kSave)->isEnabled()) << "as on disk again";

    // A save that wrote part of the edit: undoing would leave the disk behind.
    select(*w, {"Ki61", "J2M3"});
    button(*w, kInactive)->trigger();
    button(*w, kSave)->trigger();
    EXPECT_TRUE(off("J2M3"));
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
    button(*w, kSave)->trigger();

    // A deletion takes only the deleted aircraft out of the record.
    select(*w, {"Ki61", "J2M3"});
    button(*w, kActive)->trigger();
    select(*w, {"J2M3"});
    prompt.queue(PromptAnswer::Yes);
    button(*w, kDelete)->trigger();
    waitForDeletion(*w);
    EXPECT_FALSE(fs::exists(folder / "J2M3"));
    EXPECT_TRUE(button(*w, kUndo)->isEnabled());
    button(*w, kUndo)->trigger();
    EXPECT_EQ(state(*w, "Ki61"), QStringLiteral("  "));
    EXPECT_FALSE(button(*w, kSave)->isEnabled());
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    w->close();
    EXPECT_FALSE(w->isVisible()) << "nothing unsaved: nothing to ask";
    EXPECT_EQ(prompt.asked().size(), 3u);
}

TEST_F(AircraftEnablerWindowTest, PopUpMenuOffersSwitchingOnFirst) {
    auto w = open();
    auto* edit = child<QMenu>(*w, "mnuEdit");
    QPointer<QMenu> shown;
    QAction* defaultEntry = nullptr;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (shown) {
            defaultEntry = shown->defaultAction();
            shown->close();
        }
    });
    QTest::mouseClick(list(*w)->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(40, 10));
    EXPECT_EQ(shown.data(), edit);
    EXPECT_EQ(defaultEntry, child<QAction>(*w, "MnuEdit_Active"));
    EXPECT_EQ(edit->defaultAction(), nullptr) << "only in the pop-up";
    w->close();
}

TEST_F(AircraftEnablerWindowTest, KeepsItsPlacementAndSizeAndLaysOutTheList) {
    const std::string file = prefix.settingsFile().string();
    platform::writeIniString("FrmAircraftEnabler", "FORM_WIDTH", "12000", file);
    platform::writeIniString("FrmAircraftEnabler", "FORM_HEIGHT", "9000", file);
    platform::writeIniString("FrmAircraftEnabler", "FORM_LEFT", "1500", file);
    platform::writeIniString("FrmAircraftEnabler", "FORM_TOP", "750", file);
    auto w = open();
    const double dpi = w->logicalDpiY();
    const auto px = [dpi](double twips) { return qRound(twips * dpi / 1440); };
    EXPECT_EQ(w->size(), QSize(px(12000), px(9000)));
    EXPECT_EQ(w->pos(), QPoint(px(1500), px(750)));
    const auto checkLayout = [&] {
        const QWidget* inside = list(*w)->parentWidget();
        EXPECT_EQ(list(*w)->geometry(), QRect(8, 56, inside->width() - 20, inside->height() - 85));
        EXPECT_EQ(child<QLabel>(*w, "Label1")->geometry().topLeft(), QPoint(8, 40));
        EXPECT_EQ(inside->width(), w->width());
    };
    checkLayout();

    w->resize(px(15000), px(11000));
    QApplication::processEvents();
    checkLayout();
    w->resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(px(9720), px(7890))) << "no smaller than its minimum";
    checkLayout();

    w->resize(px(13000), px(9500));
    w->close();
    platform::clearProfileCache();
    EXPECT_NEAR(std::stod(platform::readIniString("FrmAircraftEnabler", "FORM_WIDTH", "", file)),
                13000, 30);
    EXPECT_NEAR(std::stod(platform::readIniString("FrmAircraftEnabler", "FORM_HEIGHT", "", file)),
                9500, 30);
}

} // namespace
} // namespace vokari::ui
