#include "common/prompt.h"
#include "gui/launcher/tool_windows.h"
#include "gui/quickcombat/qc_edit_window.h"
#include "gui/quickcombat/qc_group_edit_dialog.h"
#include "gui/quickcombat/qc_plane_edit_dialog.h"
#include "platform/codepage.h"
#include "quickcombat/qc_file.h"
#include "support/fixtures.h"
#include "support/list_rows.h"
#include "support/qt_app.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using vokari::test::child;

namespace fs = std::filesystem;

namespace vokari::ui {
namespace {

using test::readFile;
using test::sjis;
using test::writeFile;

const std::string kCaption = "クイックコンバット編集";
const std::string kAskSave = "データは変更されています。変更を保存しますか？";

// Toolbar positions, counted from 0.
enum Button {
    kSave = 0,
    kAddGroup = 4,
    kEditGroup = 5,
    kRemoveGroup = 6,
    kAddPlane = 8,
    kEditPlane = 9,
    kRemovePlane = 10
};

const char* const kFile = "\r\n"
                          "[option.0]\r\n"
                          "OptionName=%VokariGrpOption00001%\r\n"
                          "aircraft.0=a6m2\r\n"
                          "family_type.0=2\r\n"
                          "name.0=%a6m2Name%\r\n"
                          "aircraft.1=Spit9\r\n"
                          "family_type.1=1\r\n"
                          "name.1=%Spit9Name%\r\n"
                          "aircraft.2=Gone\r\n"
                          "family_type.2=1\r\n"
                          "name.2=Gone Plane\r\n"
                          "[option.1]\r\n"
                          "OptionName=Literal Group\r\n"
                          "aircraft.0=F4F4\r\n"
                          "family_type.0=1\r\n"
                          "name.0=%F4F4Name%\r\n"
                          "[option.2]\r\n"
                          "OptionName=%VokariGrpOption00003%\r\n"
                          "[player default aircraft]\r\n"
                          "aircraft=A6M2 Zero\r\n"
                          "GunAmmo=500\r\n"
                          "CannonAmmo=60\r\n"
                          "[strings]\r\n"
                          "\"VokariGrpOption00001\" = 日本海軍\r\n"
                          "\"a6m2Name\" = 零戦\r\n"
                          "\"Spit9Name\" = スピットファイア\r\n"
                          "\"F4F4Name\" = ワイルドキャット\r\n"
                          "\"VokariGrpOption00003\" = 三番\r\n";

class QCEditWindowTest : public ::testing::Test {
protected:
    QCEditWindowTest() {
        test::qtApp();
        addAircraft("a6m2", "aircraft.cfg", "A6M2 Zero");
        addAircraft("F4F4", "aircraft.cfg", "F4F-4 Wildcat");
        addAircraft("Ki61", "aircraft.cfg", "Ki-61 飛燕");
        addAircraft("Spit9", "aircraft.cfg.rst", "Spitfire Mk IX"); // switched off
        writeFile(file, sjis(kFile));
    }

    void addAircraft(const std::string& dir, const std::string& name, const std::string& title) {
        writeFile(game / "Aircraft" / dir / name, sjis("[fltsim.0]\r\ntitle=" + title + "\r\n"));
    }

    std::unique_ptr<QcEditWindow> open() { return test::shownWindow<QcEditWindow>(2); }

    static QTreeView* list(const QWidget& w, const char* name) { return child<QTreeView>(w, name); }
    static QAction* button(const QWidget& w, Button index) {
        return child<QToolBar>(w, "Toolbar1")->actions().at(index);
    }
    // The title as the window shows it.
    static std::string title(const QWidget& w) { return w.windowHandle()->title().toStdString(); }
    // Each row as "column 0|column 1".
    static QStringList rows(const QWidget& w, const char* name) {
        QStringList out;
        QTreeView* l = list(w, name);
        for (int i = 0; i < test::rowCount(l); ++i) {
            const test::ListRow row = test::rowAt(l, i);
            out << (l->model()->columnCount() > 1 ? row.text(0) + QLatin1Char('|') + row.text(1)
                                                  : row.text(0));
        }
        return out;
    }
    static int selectedIndex(const QWidget& w, const char* name) {
        const QModelIndexList selected = list(w, name)->selectionModel()->selectedRows();
        return selected.size() == 1 ? selected[0].row() : -1;
    }
    static void select(const QWidget& w, const char* name, std::initializer_list<int> indexes) {
        QTreeView* l = list(w, name);
        l->setCurrentIndex(test::rowAt(l, *indexes.begin()).index());
        for (int i : indexes)
            test::rowAt(l, i).setSelected(true);
    }

    // Acts on the dialog of type D once it is shown modally.
    template <typename D> static void whenShown(std::function<void(D&)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }
    static void nameGroup(const char* text) {
        whenShown<QcGroupEditDialog>([text](QcGroupEditDialog& d) {
            child<QLineEdit>(d, "TxtOptionName2")->setText(QString::fromUtf8(text));
            child<QPushButton>(d, "CmdSet")->click();
        });
    }
    template <typename D> static void press(const char* buttonName) {
        whenShown<D>([buttonName](D& d) { child<QPushButton>(d, buttonName)->click(); });
    }

    std::string savedText() const { return platform::ansiToUtf8(readFile(file)); }

    test::TestPrefix prefix;
    fs::path game = prefix.installGame(2, "C:\\Games\\CFS2");
    fs::path file = game / "QuickCom" / "qc_plane.qcb";
    ScriptedPrompt prompt;
};

TEST_F(QCEditWindowTest, ShowsTheThreeListsAndClosingRightAfterOpeningAsksNothing) {
    auto tool = createToolWindow(LauncherTool::QuickCombat, 2, nullptr);
    ASSERT_NE(dynamic_cast<QcEditWindow*>(tool.get()), nullptr);
    tool.reset();

    auto w = open();
    EXPECT_EQ(title(*w), kCaption);
    EXPECT_EQ(rows(*w, "LstAircraft"),
              QStringList({QStringLiteral("A6M2 Zero"), QStringLiteral("F4F-4 Wildcat"),
                           QString::fromUtf8("Ki-61 飛燕")}))
        << "switched-on aircraft only";
    // Each group under the number of its section in the file.
    EXPECT_EQ(rows(*w, "LstGroup"),
              QStringList({QString::fromUtf8("1|日本海軍"), QStringLiteral("2|Literal Group"),
                           QString::fromUtf8("3|三番")}));
    EXPECT_EQ(selectedIndex(*w, "LstGroup"), 0);
    // Installed aircraft go by their title; a switched-off or missing one by its name.
    EXPECT_EQ(rows(*w, "LstQCPlane"),
              QStringList({QStringLiteral("B|A6M2 Zero"), QString::fromUtf8("F|スピットファイア"),
                           QStringLiteral("F|Gone Plane")}));
    EXPECT_EQ(list(*w, "LstGroup")->columnWidth(0), 50);
    EXPECT_EQ(list(*w, "LstQCPlane")->columnWidth(1), 200);

    const QList<QAction*> bar = child<QToolBar>(*w, "Toolbar1")->actions();
    ASSERT_EQ(bar.size(), 11);
    // The removing buttons say which they remove, and look enabled as they are.
    EXPECT_EQ(bar[kRemoveGroup]->toolTip(),
              QString::fromUtf8("敵の航空機の種類を削除\n"
                                "選択しているグループを、登録されている航空機ごと削除します。"));
    EXPECT_EQ(bar[kRemovePlane]->toolTip(),
              QString::fromUtf8("敵の航空機の種類から航空機を削除\n"
                                "「グループに所属する航空機」で選択している航空機を、グループから"
                                "外します。グループは残ります。"));
    for (Button b : {kRemoveGroup, kRemovePlane}) {
        EXPECT_TRUE(bar[b]->isEnabled());
        const QImage icon = bar[b]->icon().pixmap(20).toImage();
        int colored = 0;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                colored += icon.pixelColor(x, y).alpha() > 128 &&
                           icon.pixelColor(x, y).hslSaturation() > 100;
        EXPECT_GT(colored, 20) << "in greys, an enabled button looks disabled: " << b;
    }
    EXPECT_TRUE(bar[2]->isSeparator() && bar[7]->isSeparator());

    // Clicking another group shows its entries.
    QTreeView* groups = list(*w, "LstGroup");
    QTest::mouseClick(groups->viewport(), Qt::LeftButton, Qt::NoModifier,
                      test::rowAt(groups, 1).rect().center());
    EXPECT_EQ(rows(*w, "LstQCPlane"), QStringList({QStringLiteral("F|F4F-4 Wildcat")}));

    // The lists share the inside of the window as laid out on every resize.
    w->resize(w->width() + 200, w->height() + 100);
    QApplication::processEvents();
    const QWidget* inside = groups->parentWidget();
    const QRect aircraft = list(*w, "LstAircraft")->geometry();
    const QRect entries = list(*w, "LstQCPlane")->geometry();
    EXPECT_EQ(aircraft.topLeft(), QPoint(8, 56));
    EXPECT_NEAR(aircraft.width(), 0.44 * (inside->width() - 30), 1);
    EXPECT_EQ(groups->x(), aircraft.x() + aircraft.width() + 9);
    EXPECT_EQ(entries.x(), groups->x());
    EXPECT_EQ(entries.y(), groups->y() + groups->height() + 24);
    EXPECT_NEAR(entries.y() + entries.height(), inside->height() - 10, 1);
    EXPECT_EQ(child<QLabel>(*w, "LblQCPlane")->geometry().bottom() + 1, entries.y());

    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(prompt.asked().empty());
    EXPECT_FALSE(fs::exists(file.string() + ".bak")) << "nothing written";
}

TEST_F(QCEditWindowTest, ConfirmingADialogWithoutChangesStillMarksAChange) {
    for (const char* target : {"LstGroup", "LstQCPlane"}) {
        auto w = open();
        QTreeView* l = list(*w, target);
        if (target == std::string("LstGroup"))
            press<QcGroupEditDialog>("CmdSet");
        else
            press<QcPlaneEditDialog>("CmdSet");
        const QPoint at = test::rowAt(l, 0).rect().center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        prompt.queue(PromptAnswer::Cancel);
        w->close();
        ASSERT_EQ(prompt.asked().size(), 1u) << target;
        EXPECT_EQ(prompt.asked()[0].title, kCaption);
        EXPECT_EQ(prompt.asked()[0].text, kAskSave);
        EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::YesNoCancel);
        EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Warning);
        EXPECT_TRUE(w->isVisible()) << "Cancel keeps it open";
        prompt.queue(PromptAnswer::No);
        w->close();
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(savedText(), kFile) << "No writes nothing";
        prompt.clear();
    }
}

TEST_F(QCEditWindowTest, ACancelledNewGroupLeavesNoTraceAndTheNextGetsTheNextId) {
    auto w = open();
    press<QcGroupEditDialog>("CmdCancel");
    button(*w, kAddGroup)->trigger();
    EXPECT_EQ(rows(*w, "LstGroup").size(), 3);
    EXPECT_EQ(selectedIndex(*w, "LstGroup"), 0);
    w->close();
    EXPECT_TRUE(prompt.asked().empty()) << "nothing changed";

    w = open();
    press<QcGroupEditDialog>("CmdCancel");
    button(*w, kAddGroup)->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get())) << "the keys are back after the dialog";
    nameGroup("Fighters");
    QTest::keyClick(w.get(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(rows(*w, "LstGroup").last(), QStringLiteral("4|Fighters"))
        << "a cancelled group took no place; the file's [option.3]";
    EXPECT_EQ(selectedIndex(*w, "LstGroup"), 3);
    EXPECT_TRUE(rows(*w, "LstQCPlane").isEmpty());

    // The installed aircraft join it, shared entries keeping their type and name.
    select(*w, "LstAircraft", {0, 1});
    button(*w, kAddPlane)->trigger();
    EXPECT_EQ(rows(*w, "LstQCPlane"),
              QStringList({QStringLiteral("B|A6M2 Zero"), QStringLiteral("F|F4F-4 Wildcat")}));
    button(*w, kAddPlane)->trigger(); // already there: nothing twice
    EXPECT_EQ(rows(*w, "LstQCPlane").size(), 2);

    // Made a bomber here, F4F4 is a bomber in its other group too.
    select(*w, "LstQCPlane", {1});
    whenShown<QcPlaneEditDialog>([](QcPlaneEditDialog& d) {
        child<QRadioButton>(d, "OptTypeBomber")->setChecked(true);
        child<QPushButton>(d, "CmdSet")->click();
    });
    button(*w, kEditPlane)->trigger();
    EXPECT_EQ(rows(*w, "LstQCPlane")[1], QStringLiteral("B|F4F-4 Wildcat"));
    EXPECT_EQ(selectedIndex(*w, "LstQCPlane"), 1);

    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readFile(file.string() + ".bak"), sjis(kFile));
    const std::string saved = savedText();
    EXPECT_NE(saved.find("[option.3]\r\nOptionName=%VokariGrpOption00002%\r\n"
                         "aircraft.0=a6m2\r\nfamily_type.0=2\r\nname.0=%a6m2Name%\r\n\r\n"
                         "aircraft.1=F4F4\r\nfamily_type.1=2\r\nname.1=%F4F4Name%\r\n"),
              std::string::npos)
        << saved;
    EXPECT_NE(saved.find("OptionName=Literal Group\r\naircraft.0=F4F4\r\nfamily_type.0=2\r\n"),
              std::string::npos);
    EXPECT_NE(saved.find("\"a6m2Name\" = 零戦\r\n"), std::string::npos) << "the file's name stays";
    EXPECT_NE(saved.find("\"VokariGrpOption00002\" = Fighters\r\n"), std::string::npos);
    // What was saved reads back as the same document.
    std::unique_ptr<QcGroups> back;
    readQCFile(back, game.string() + "/", "QuickCom\\qc_plane.qcb");
    EXPECT_EQ(qcFileText(*back), saved);

    w->close();
    EXPECT_TRUE(prompt.asked().empty()) << "saved: nothing to ask";
}

// A string left under the alias the next group takes, as a file saved before could hold
// for a removed group: the new group neither shows it nor stays when cancelled.
TEST_F(QCEditWindowTest, ANewGroupStartsUnnamedAndCancelLeavesNone) {
    writeFile(file, sjis(std::string(kFile) + "\"VokariGrpOption00002\" = 消えた\r\n"));
    auto w = open();
    prompt.queue(PromptAnswer::Yes); // it holds entries
    button(*w, kRemoveGroup)->trigger();
    prompt.clear();
    button(*w, kSave)->trigger();
    const std::string saved = readFile(file);
    EXPECT_EQ(platform::ansiToUtf8(saved).find("日本海軍"), std::string::npos)
        << "the removed group's name went with it";

    const std::function<void(QcGroupEditDialog&)> cancels[] = {
        [](QcGroupEditDialog& d) { child<QPushButton>(d, "CmdCancel")->click(); },
        [](QcGroupEditDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }};
    for (const auto& cancel : cancels) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        QString shown = QStringLiteral("not shown");
        whenShown<QcGroupEditDialog>([&shown, cancel](QcGroupEditDialog& d) {
            shown = child<QLineEdit>(d, "TxtOptionName2")->text();
            cancel(d);
        });
        QTest::keyClick(w.get(), Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(shown, QString());
        EXPECT_EQ(rows(*w, "LstGroup"),
                  QStringList({QStringLiteral("1|Literal Group"), QString::fromUtf8("2|三番")}));
    }
    w->close();
    EXPECT_TRUE(prompt.asked().empty()) << "nothing changed since the save";
    EXPECT_EQ(readFile(file), saved);
}

TEST_F(QCEditWindowTest, RemovingReselectsByEachListsOwnRule) {
    auto w = open();
    // A click beside the rows keeps the selected group for the commands.
    QWidget* beside = list(*w, "LstGroup")->viewport();
    QTest::mouseClick(beside, Qt::LeftButton, Qt::NoModifier, QPoint(20, beside->height() - 5));
    EXPECT_EQ(selectedIndex(*w, "LstGroup"), 0);

    // Entries: taking row 2 of 3 selects row 1.
    select(*w, "LstQCPlane", {1});
    button(*w, kRemovePlane)->trigger();
    EXPECT_EQ(rows(*w, "LstQCPlane"),
              QStringList({QStringLiteral("B|A6M2 Zero"), QStringLiteral("F|Gone Plane")}));
    EXPECT_EQ(selectedIndex(*w, "LstQCPlane"), 0);

    // Groups: taking row 2 of 3 selects the group now at row 2 and shows its entries.
    select(*w, "LstGroup", {1});
    list(*w, "LstGroup")->setFocus();
    prompt.queue(PromptAnswer::Yes); // it holds an entry
    QTest::keyClick(w.get(), Qt::Key_Delete);
    EXPECT_EQ(rows(*w, "LstGroup"),
              QStringList({QString::fromUtf8("1|日本海軍"), QString::fromUtf8("2|三番")}));
    EXPECT_EQ(selectedIndex(*w, "LstGroup"), 1);
    EXPECT_TRUE(rows(*w, "LstQCPlane").isEmpty());

    // The only entry of a group goes, and nothing is selected.
    select(*w, "LstGroup", {0});
    select(*w, "LstQCPlane", {1});
    list(*w, "LstQCPlane")->setFocus();
    QTest::keyClick(w.get(), Qt::Key_Delete);
    select(*w, "LstQCPlane", {0});
    QTest::keyClick(w.get(), Qt::Key_Delete);
    EXPECT_TRUE(rows(*w, "LstQCPlane").isEmpty());
    EXPECT_EQ(selectedIndex(*w, "LstQCPlane"), -1);

    // Del follows the focus: on the installed aircraft it takes nothing away.
    list(*w, "LstAircraft")->setFocus();
    QTest::keyClick(w.get(), Qt::Key_Delete);
    EXPECT_EQ(rows(*w, "LstGroup").size(), 2);
    EXPECT_EQ(rows(*w, "LstAircraft").size(), 3);

    // The pop-up menu offers adding first on the aircraft, deleting first on the entries.
    for (const char* name : {"LstAircraft", "LstQCPlane"}) {
        QPointer<QMenu> shown;
        QAction* defaultEntry = nullptr;
        QTimer::singleShot(0, [&] {
            shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (shown) {
                defaultEntry = shown->defaultAction();
                shown->close();
            }
        });
        QTest::mouseClick(list(*w, name)->viewport(), Qt::RightButton, Qt::NoModifier,
                          QPoint(40, 10));
        EXPECT_EQ(shown.data(), child<QMenu>(*w, "mnuEdit2"));
        EXPECT_EQ(defaultEntry,
                  child<QAction>(*w, name == std::string("LstAircraft") ? "mnuEdit2_Add"
                                                                        : "mnuEdit2_Delete"));
        EXPECT_EQ(child<QAction>(*w, "mnuEdit2_Edit")->isEnabled(),
                  name == std::string("LstQCPlane"));
    }
    prompt.queue(PromptAnswer::No);
    w->close();
}

// Undo takes the edits back one by one, past a save too, with what the file keeps unread; the
// title marks edits the file does not hold.
TEST_F(QCEditWindowTest, AGroupWithEntriesGoesOnlyOnYesAndUndoTakesEditsBack) {
    writeFile(file, sjis(std::string("; mine\r\n") + kFile));
    auto w = open();
    const QAction* undo = child<QAction>(*w, "mnuEdit_Undo");
    const QStringList read = rows(*w, "LstGroup");
    const auto undoOnce = [&w] { QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier); };

    list(*w, "LstGroup")->setFocus();
    QTest::keyClick(w.get(), Qt::Key_Delete);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].title, kCaption);
    EXPECT_EQ(prompt.asked()[0].text,
              "敵の航空機の種類「日本海軍」には、航空機が 3 機登録されています。\r\n"
              "このグループを削除しますか？");
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.asked()[0].defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(rows(*w, "LstGroup"), read) << "no: kept";
    EXPECT_EQ(title(*w), kCaption);
    EXPECT_FALSE(undo->isEnabled());

    // The groups after it take the numbers the file gives them.
    prompt.queue(PromptAnswer::Yes);
    QTest::keyClick(w.get(), Qt::Key_Delete);
    EXPECT_EQ(rows(*w, "LstGroup"),
              QStringList({QStringLiteral("1|Literal Group"), QString::fromUtf8("2|三番")}));
    EXPECT_EQ(title(*w), kCaption + "*");
    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(title(*w), kCaption);
    EXPECT_NE(savedText().find("[option.1]\r\nOptionName=%VokariGrpOption00003%\r\n"),
              std::string::npos)
        << savedText();

    nameGroup("Renamed");
    button(*w, kEditGroup)->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    select(*w, "LstGroup", {1});
    button(*w, kRemoveGroup)->trigger();
    EXPECT_EQ(prompt.asked().size(), 2u) << "an empty group goes unasked";
    EXPECT_EQ(rows(*w, "LstGroup"), QStringList({QStringLiteral("1|Renamed")}));

    undoOnce();
    EXPECT_EQ(rows(*w, "LstGroup"),
              QStringList({QStringLiteral("1|Renamed"), QString::fromUtf8("2|三番")}));
    EXPECT_EQ(selectedIndex(*w, "LstGroup"), 1);
    EXPECT_EQ(title(*w), kCaption + "*");
    undoOnce();
    EXPECT_EQ(rows(*w, "LstGroup")[0], QStringLiteral("1|Literal Group"));
    EXPECT_EQ(title(*w), kCaption) << "what the file holds";
    undoOnce();
    EXPECT_EQ(rows(*w, "LstGroup"), read);
    EXPECT_EQ(selectedIndex(*w, "LstGroup"), 0);
    EXPECT_EQ(rows(*w, "LstQCPlane").size(), 3);
    EXPECT_EQ(title(*w), kCaption + "*") << "the file no longer holds it";
    EXPECT_FALSE(undo->isEnabled());
    undoOnce();
    EXPECT_EQ(rows(*w, "LstGroup"), read);

    prompt.queue(PromptAnswer::Yes);
    w->close();
    EXPECT_EQ(prompt.asked().back().text, kAskSave);
    EXPECT_EQ(savedText().rfind("; mine\r\n\r\n[option.0]\r\nOptionName=%VokariGrpOption00001%", 0),
              0u)
        << savedText();
}

TEST_F(QCEditWindowTest, ADropOfAircraftFromTheLeftListAddsThemAndNothingElseDoes) {
    auto w = open();
    select(*w, "LstGroup", {2});
    QTreeView* aircraft = list(*w, "LstAircraft");
    QWidget* target = list(*w, "LstQCPlane")->viewport();
    const auto drop = [target](const QMimeData* data) {
        const QPoint at(20, 20);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(QPointF(at), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return std::pair{enter.isAccepted(), dropped.dropAction()};
    };

    QMimeData text;
    text.setText(QStringLiteral("Ki61"));
    EXPECT_FALSE(drop(&text).first) << "another program's drop";
    EXPECT_TRUE(rows(*w, "LstQCPlane").isEmpty());

    select(*w, "LstAircraft", {2, 0});
    EXPECT_TRUE(aircraft->model()->flags(test::rowAt(aircraft, 0).index()) & Qt::ItemIsDragEnabled);
    std::unique_ptr<QMimeData> dragged(
        aircraft->model()->mimeData(aircraft->selectionModel()->selectedRows()));
    const auto [accepted, action] = drop(dragged.get());
    EXPECT_TRUE(accepted);
    EXPECT_EQ(action, Qt::CopyAction) << "the left list keeps its rows";
    EXPECT_EQ(rows(*w, "LstQCPlane"),
              QStringList({QStringLiteral("B|A6M2 Zero"), QString::fromUtf8("F|Ki-61 飛燕")}));
    EXPECT_EQ(rows(*w, "LstAircraft").size(), 3);
    prompt.queue(PromptAnswer::No);
    w->close();
    EXPECT_EQ(prompt.asked().size(), 1u);
}

TEST_F(QCEditWindowTest, AFailedSaveTellsAndKeepsEverything) {
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::remove);
    auto w = open();
    prompt.queue(PromptAnswer::Yes); // it holds entries
    button(*w, kRemoveGroup)->trigger();
    prompt.clear();
    button(*w, kSave)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Error);
    EXPECT_EQ(
        prompt.asked()[0].text.rfind("クイックコンバットファイルを保存できませんでした。\r\n", 0),
        0u)
        << prompt.asked()[0].text;
    EXPECT_NE(prompt.asked()[0].text.find(file.string()), std::string::npos)
        << "the file as this system names it: " << prompt.asked()[0].text;

    // The save the closing question starts fails the same way: the window stays.
    prompt.queue(PromptAnswer::Yes);
    w->close();
    ASSERT_EQ(prompt.asked().size(), 3u);
    EXPECT_EQ(prompt.asked()[2].icon, PromptIcon::Error);
    EXPECT_TRUE(w->isVisible());

    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    prompt.queue(PromptAnswer::Yes);
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(savedText().find("OptionName=%VokariGrpOption00001%"), std::string::npos)
        << "the change was kept";
}

TEST_F(QCEditWindowTest, AFileWrittenElsewhereSinceItWasReadIsOverwrittenOnlyOnYes) {
    auto w = open();
    prompt.queue(PromptAnswer::Yes); // it holds entries
    button(*w, kRemoveGroup)->trigger();
    prompt.clear();
    const std::string theirs = sjis("[option.0]\r\nOptionName=Theirs\r\n");
    writeFile(file, theirs);

    prompt.queue(PromptAnswer::No);
    button(*w, kSave)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text,
              "クイックコンバットファイルは、読み込んだ後に変更されています。\r\n"
              "上書きして保存しますか？");
    EXPECT_EQ(prompt.asked()[0].defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(readFile(file), theirs) << "no: nothing saved";

    // The edits stayed: yes saves them, and the window's own save is no one else's.
    prompt.queue(PromptAnswer::Yes);
    button(*w, kSave)->trigger();
    EXPECT_EQ(prompt.asked().size(), 2u);
    EXPECT_EQ(savedText().find("OptionName=%VokariGrpOption00001%"), std::string::npos);
    EXPECT_NE(savedText().find("OptionName=Literal Group"), std::string::npos);
    button(*w, kSave)->trigger();
    w->close();
    EXPECT_EQ(prompt.asked().size(), 2u);
}

TEST_F(QCEditWindowTest, AFileReadInPartIsSavedOnlyOnYes) {
    std::string broken = kFile;
    broken.replace(broken.find("family_type.0=1"), 15, "family_type.0=x");
    writeFile(file, sjis(broken));
    auto w = open();
    prompt.clear(); // the reader's message

    prompt.queue(PromptAnswer::No);
    button(*w, kSave)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text,
              "クイックコンバットファイルは 16 行目から先を読み込めませんでした。\r\n"
              "保存すると、16 行目とそれより後のグループや行は失われます。\r\n"
              "このまま保存しますか？");
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.asked()[0].defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(readFile(file), sjis(broken)) << "no: nothing written";
    EXPECT_FALSE(fs::exists(file.string() + ".bak"));

    // The closing question's save asks too; No there keeps the window open.
    button(*w, kRemovePlane)->trigger();
    prompt.queue(PromptAnswer::Yes);
    prompt.queue(PromptAnswer::No);
    w->close();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readFile(file), sjis(broken));

    prompt.queue(PromptAnswer::Yes);
    button(*w, kSave)->trigger();
    EXPECT_EQ(prompt.asked().size(), 4u);
    EXPECT_NE(savedText().find("OptionName=Literal Group"), std::string::npos);
    EXPECT_EQ(savedText().find("[option.2]"), std::string::npos) << "only what was read";
    button(*w, kSave)->trigger();
    w->close();
    EXPECT_EQ(prompt.asked().size(), 4u) << "the file holds the document now: nothing to ask";
}

TEST_F(QCEditWindowTest, AFileThatCannotBeReadOpensWithWhatWasRead) {
    std::string broken = kFile;
    broken.replace(broken.find("family_type.0=1"), 15, "family_type.0=x");
    writeFile(file, sjis(broken));
    auto w = open();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Error);
    // The reader's message: the file as this system names it, and the line.
    EXPECT_NE(prompt.asked()[0].text.find(file.string()), std::string::npos)
        << prompt.asked()[0].text;
    EXPECT_NE(prompt.asked()[0].text.find("16"), std::string::npos) << prompt.asked()[0].text;
    EXPECT_EQ(rows(*w, "LstGroup").size(), 2) << "the groups before the faulty line";
    w->close();
    EXPECT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(readFile(file), sjis(broken)) << "never written unless saved";

    // No file at all: an empty document, and the commands that need a group do nothing.
    fs::remove(file);
    w = open();
    EXPECT_EQ(prompt.asked().size(), 2u);
    EXPECT_TRUE(rows(*w, "LstGroup").isEmpty());
    select(*w, "LstAircraft", {0});
    button(*w, kAddPlane)->trigger();
    button(*w, kEditGroup)->trigger();
    button(*w, kRemoveGroup)->trigger();
    button(*w, kRemovePlane)->trigger();
    EXPECT_TRUE(rows(*w, "LstQCPlane").isEmpty());
    w->close();
    EXPECT_EQ(prompt.asked().size(), 2u);
    EXPECT_FALSE(fs::exists(file));
}

} // namespace
} // namespace vokari::ui
