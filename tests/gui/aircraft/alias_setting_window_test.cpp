#include "common/prompt.h"
#include "gui/aircraft/alias_setting_window.h"
#include "gui/launcher/tool_windows.h"
#include "platform/profile.h"
#include "support/fixtures.h"
#include "support/list_rows.h"
#include "support/qt_app.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>
#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

using vokari::test::child;

namespace fs = std::filesystem;

namespace vokari::ui {
namespace {

using test::readFile;
using test::sjis;
using test::writeFile;

const std::string kCaption = "音声・パネルファイル設定";

// Toolbar positions, counted from 0.
enum Button { kSave = 0, kUndo = 2, kSet = 3, kView = 5 };

class AliasSettingWindowTest : public ::testing::Test {
protected:
    AliasSettingWindowTest() { test::qtApp(); }

    // An aircraft folder; each of panel and sound is its own file ("own"), an alias to another
    // aircraft, an empty folder ("") or nothing at all (nullptr).
    static void addAircraft(const fs::path& folder, const std::string& title, const char* panel,
                            const char* sound) {
        writeFile(folder / "aircraft.cfg", sjis("[fltsim.0]\r\ntitle=" + title + "\r\n"));
        const auto add = [&](const char* kind, const char* what) {
            if (!what)
                return;
            const std::string name = kind;
            if (std::string(what).empty())
                fs::create_directories(folder / name);
            else if (std::string(what) == "own")
                writeFile(folder / name / (name + ".cfg"), "[fltsim]\r\nown=1\r\n");
            else
                writeFile(folder / name / (name + ".cfg"),
                          "[fltsim]\r\nalias=" + std::string(what) + "\\" + name + "\r\n");
        };
        add("panel", panel);
        add("sound", sound);
    }

    std::unique_ptr<AliasSettingWindow> open(int16_t version = 2) {
        return test::shownWindow<AliasSettingWindow>(version);
    }

    static QTreeView* list(const QWidget& w, const char* name) { return child<QTreeView>(w, name); }
    static QAction* button(const QWidget& w, Button index) {
        return child<QToolBar>(w, "TBar")->actions().at(index);
    }
    // The folders of a list's rows, in list order.
    static QStringList keys(const QWidget& w, const char* name) {
        QStringList out;
        QTreeView* l = list(w, name);
        for (int i = 0; i < test::rowCount(l); ++i)
            out.append(test::rowAt(l, i).index().data(Qt::UserRole).toString());
        return out;
    }
    static test::ListRow row(const QWidget& w, const char* name, const char* dir) {
        QTreeView* l = list(w, name);
        for (int i = 0; i < test::rowCount(l); ++i)
            if (test::rowAt(l, i).index().data(Qt::UserRole).toString() == QLatin1String(dir))
                return test::rowAt(l, i);
        ADD_FAILURE() << dir << " not in " << name;
        return {l, -1};
    }
    static QString alias(const QWidget& w, const char* name, const char* dir) {
        return row(w, name, dir).text(0);
    }
    static void select(const QWidget& w, const char* name,
                       std::initializer_list<const char*> dirs) {
        list(w, name)->clearSelection();
        for (const char* dir : dirs)
            row(w, name, dir).setSelected(true);
    }
    static QString status(const QWidget& w) { return child<QLabel>(w, "StBarText")->text(); }
    static bool soundShown(const QWidget& w) {
        return list(w, "LstTargetSound")->isVisible() && list(w, "LstAircraftSound")->isVisible() &&
               !list(w, "LstTargetPanel")->isVisible() && !list(w, "LstAircraftPanel")->isVisible();
    }

    std::string file(const char* dir, const char* name) const {
        return readFile(folder / dir / name);
    }

    test::TestPrefix prefix;
    fs::path folder = prefix.installGame(2, "C:\\Games\\CFS2") / "Aircraft";
    ScriptedPrompt prompt;
};

// The game-2 fixture of most tests.
class AliasGame2Test : public AliasSettingWindowTest {
protected:
    AliasGame2Test() {
        addAircraft(folder / "a6m2", "A6M2 Zero", "own", "own");
        addAircraft(folder / "Ki61", "Ki-61 飛燕", "a6m2", "own");
        addAircraft(folder / "J2M3", "J2M3 雷電", "own", nullptr);
        addAircraft(folder / "Ki84", "Ki-84 疾風", "own", "Ki61");
        addAircraft(folder / "N1K1", "N1K1 紫電", "", "");
        writeFile(folder / "Spit9" / "aircraft.cfg.rst", "[fltsim.0]\r\ntitle=Spitfire\r\n");
    }
};

TEST_F(AliasGame2Test, SplitsLendersAndReceiversPerView) {
    auto tool = createToolWindow(LauncherTool::Alias, 2, nullptr);
    ASSERT_NE(dynamic_cast<AliasSettingWindow*>(tool.get()), nullptr);
    tool.reset();

    auto w = open();
    EXPECT_EQ(w->windowHandle()->title().toStdString(), kCaption);
    const auto l = [](std::initializer_list<const char*> dirs) {
        QStringList out;
        for (const char* dir : dirs)
            out.append(QString::fromLatin1(dir));
        return out;
    };
    // Borrowing or owning nothing makes a receiver; switched-off aircraft are not listed.
    EXPECT_EQ(keys(*w, "LstAircraftSound"), l({"a6m2", "Ki61"}));
    EXPECT_EQ(keys(*w, "LstTargetSound"), l({"J2M3", "Ki84", "N1K1"}));
    EXPECT_EQ(keys(*w, "LstAircraftPanel"), l({"a6m2", "J2M3", "Ki84"}));
    EXPECT_EQ(keys(*w, "LstTargetPanel"), l({"Ki61", "N1K1"}));
    EXPECT_EQ(alias(*w, "LstTargetSound", "Ki84"), QStringLiteral("Ki61"));
    EXPECT_EQ(alias(*w, "LstTargetPanel", "Ki61"), QStringLiteral("a6m2"));
    EXPECT_EQ(alias(*w, "LstTargetSound", "N1K1"), QString());
    EXPECT_EQ(row(*w, "LstTargetSound", "Ki84").text(1), QString::fromUtf8("Ki-84 疾風"));
    EXPECT_EQ(row(*w, "LstAircraftSound", "Ki61").text(0), QString::fromUtf8("Ki-61 飛燕"));
    EXPECT_EQ(list(*w, "LstTargetSound")->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list(*w, "LstAircraftSound")->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list(*w, "LstTargetPanel")->columnWidth(0), 100);
    EXPECT_EQ(list(*w, "LstTargetPanel")->columnWidth(1), 200);

    // Opens in the sound view with nothing to save or undo.
    const QList<QAction*> bar = child<QToolBar>(*w, "TBar")->actions();
    ASSERT_EQ(bar.size(), 6);
    EXPECT_TRUE(bar[1]->isSeparator() && bar[4]->isSeparator());
    EXPECT_FALSE(bar[kSave]->isEnabled());
    EXPECT_FALSE(bar[kUndo]->isEnabled());
    EXPECT_TRUE(bar[kSet]->isEnabled());
    EXPECT_TRUE(soundShown(*w));
    EXPECT_EQ(status(*w), QString::fromUtf8("音声編集"));
    EXPECT_TRUE(child<QAction>(*w, "mnuView_Sound")->isChecked());
    EXPECT_FALSE(child<QAction>(*w, "mnuView_Panel")->isChecked());
    auto* view = child<QToolButton>(*w, "TBarView");
    const qint64 soundImage = view->icon().cacheKey();

    // The view button's entries switch; pressing the button itself does nothing.
    view->click();
    EXPECT_TRUE(soundShown(*w));
    child<QAction>(*w, "TBarView_Panel")->trigger();
    EXPECT_FALSE(soundShown(*w));
    EXPECT_TRUE(list(*w, "LstTargetPanel")->isVisible());
    EXPECT_EQ(status(*w), QString::fromUtf8("パネル編集"));
    EXPECT_TRUE(child<QAction>(*w, "mnuView_Panel")->isChecked());
    EXPECT_FALSE(child<QAction>(*w, "mnuView_Sound")->isChecked());
    EXPECT_NE(view->icon().cacheKey(), soundImage);
    child<QAction>(*w, "mnuView_Sound")->trigger();
    EXPECT_TRUE(soundShown(*w));
    EXPECT_EQ(view->icon().cacheKey(), soundImage);
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(prompt.asked().empty());
}

TEST_F(AliasGame2Test, SeveralReceiversTakeOneLenderWithOneUndoThatSurvivesViewSwitches) {
    auto w = open();
    // No lender chosen: the user is asked to choose one.
    select(*w, "LstTargetSound", {"N1K1"});
    button(*w, kSet)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].title, kCaption);
    EXPECT_EQ(prompt.asked()[0].text, "データを持っている航空機を選択してください。");
    EXPECT_FALSE(button(*w, kSave)->isEnabled());

    // A receiver without a sound folder cannot hold the alias: refused by name, the rest set.
    prompt.clear();
    select(*w, "LstAircraftSound", {"a6m2"});
    select(*w, "LstTargetSound", {"N1K1", "Ki84", "J2M3"});
    child<QAction>(*w, "mnuEdit_Set")->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Warning);
    EXPECT_EQ(prompt.asked()[0].text,
              "次の航空機には「sound」フォルダがないため、Aliasを設定できません。\r\n"
              "J2M3 (J2M3 雷電)");
    EXPECT_EQ(alias(*w, "LstTargetSound", "N1K1"), QStringLiteral("a6m2"));
    EXPECT_EQ(alias(*w, "LstTargetSound", "Ki84"), QStringLiteral("a6m2"));
    EXPECT_EQ(alias(*w, "LstTargetSound", "J2M3"), QString());
    EXPECT_TRUE(button(*w, kSave)->isEnabled());
    EXPECT_TRUE(button(*w, kUndo)->isEnabled());

    // One undo takes back every receiver of the edit, and with it the unsaved state.
    button(*w, kUndo)->trigger();
    EXPECT_EQ(alias(*w, "LstTargetSound", "N1K1"), QString());
    EXPECT_EQ(alias(*w, "LstTargetSound", "Ki84"), QStringLiteral("Ki61"));
    EXPECT_FALSE(button(*w, kSave)->isEnabled());
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    select(*w, "LstTargetSound", {"N1K1", "Ki84"});
    button(*w, kSet)->trigger();
    EXPECT_EQ(prompt.asked().size(), 1u);

    // A panel edit in the other view, then back: rows, changes and the undo record stay.
    child<QAction>(*w, "mnuView_Panel")->trigger();
    select(*w, "LstAircraftPanel", {"J2M3"});
    select(*w, "LstTargetPanel", {"Ki61"});
    button(*w, kSet)->trigger();
    EXPECT_EQ(alias(*w, "LstTargetPanel", "Ki61"), QStringLiteral("J2M3"));
    child<QAction>(*w, "mnuView_Sound")->trigger();
    child<QAction>(*w, "mnuView_Panel")->trigger();
    EXPECT_EQ(alias(*w, "LstTargetPanel", "Ki61"), QStringLiteral("J2M3"));
    EXPECT_EQ(alias(*w, "LstTargetSound", "Ki84"), QStringLiteral("a6m2"));
    EXPECT_TRUE(button(*w, kUndo)->isEnabled());

    // Undo takes back the last edit only, in whichever view it was made.
    child<QAction>(*w, "mnuView_Sound")->trigger();
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(alias(*w, "LstTargetPanel", "Ki61"), QStringLiteral("a6m2"));
    EXPECT_EQ(alias(*w, "LstTargetSound", "Ki84"), QStringLiteral("a6m2"));
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    EXPECT_TRUE(button(*w, kSave)->isEnabled()) << "the sound edit before is unsaved";

    // Undo puts back the alias of before the edit, which is not yet on disk either.
    select(*w, "LstAircraftSound", {"Ki61"});
    select(*w, "LstTargetSound", {"N1K1"});
    button(*w, kSet)->trigger();
    EXPECT_EQ(alias(*w, "LstTargetSound", "N1K1"), QStringLiteral("Ki61"));
    button(*w, kUndo)->trigger();
    EXPECT_EQ(alias(*w, "LstTargetSound", "N1K1"), QStringLiteral("a6m2"));
    EXPECT_TRUE(button(*w, kSave)->isEnabled());

    prompt.queue(PromptAnswer::No);
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(prompt.asked().back().text, "データは変更されています。変更を保存しますか？");
    EXPECT_EQ(prompt.asked().back().buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(file("Ki84", "sound/sound.cfg"), "[fltsim]\r\nalias=Ki61\\sound\r\n")
        << "No writes nothing";
    EXPECT_FALSE(fs::exists(folder / "N1K1" / "sound" / "sound.cfg"));
}

TEST_F(AliasGame2Test, EverySaveWritesTheEditedAircraftAgainAndBacksUpOnce) {
    auto w = open();
    child<QAction>(*w, "mnuView_Panel")->trigger();
    select(*w, "LstAircraftPanel", {"a6m2"});
    select(*w, "LstTargetPanel", {"N1K1"});
    button(*w, kSet)->trigger();
    child<QAction>(*w, "mnuView_Sound")->trigger();
    select(*w, "LstAircraftSound", {"a6m2"});
    select(*w, "LstTargetSound", {"Ki84"});
    button(*w, kSet)->trigger();
    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(button(*w, kSave)->isEnabled());
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    EXPECT_EQ(file("N1K1", "panel/panel.cfg"), "[fltsim]\r\nalias=a6m2\\panel\r\n");
    EXPECT_FALSE(fs::exists(folder / "N1K1" / "panel" / "panel.cfg.org")) << "nothing to back up";
    EXPECT_EQ(file("Ki84", "sound/sound.cfg"), "[fltsim]\r\nalias=a6m2\\sound\r\n");
    EXPECT_EQ(file("Ki84", "sound/sound.cfg.org"), "[fltsim]\r\nalias=Ki61\\sound\r\n");

    // Edited on disk behind the window: the next save writes Ki84 again, though only N1K1's
    // sound was edited since.
    writeFile(folder / "Ki84" / "sound" / "sound.cfg", "[fltsim]\r\nalias=x\\sound\r\n");
    select(*w, "LstAircraftSound", {"Ki61"});
    select(*w, "LstTargetSound", {"N1K1"});
    button(*w, kSet)->trigger();
    button(*w, kSave)->trigger();
    EXPECT_EQ(file("Ki84", "sound/sound.cfg"), "[fltsim]\r\nalias=a6m2\\sound\r\n");
    EXPECT_EQ(file("Ki84", "sound/sound.cfg.org"), "[fltsim]\r\nalias=Ki61\\sound\r\n");
    EXPECT_EQ(file("N1K1", "sound/sound.cfg"), "[fltsim]\r\nalias=Ki61\\sound\r\n");
    w->close();
    EXPECT_FALSE(w->isVisible()) << "saved: nothing to ask";
    EXPECT_TRUE(prompt.asked().empty());
}

TEST_F(AliasGame2Test, AFailedSaveNamesTheAircraftKeepsTheWindowAndAgreesWithTheDisk) {
    addAircraft(folder / "Zz", "Zz", "", "Ki61");
    fs::create_directories(folder / "Zz" / "sound" / "sound.cfg.org"); // no backup possible
    auto w = open();
    select(*w, "LstAircraftSound", {"a6m2"});
    select(*w, "LstTargetSound", {"Zz"});
    button(*w, kSet)->trigger();
    button(*w, kSave)->trigger();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Error);
    EXPECT_NE(prompt.asked()[0].text.find("Zz (Zz)"), std::string::npos) << prompt.asked()[0].text;
    EXPECT_TRUE(button(*w, kSave)->isEnabled());
    EXPECT_TRUE(button(*w, kUndo)->isEnabled()) << "nothing of the edit reached the disk";

    // The save the closing question starts fails the same way: told, and the window stays.
    prompt.queue(PromptAnswer::Yes);
    w->close();
    ASSERT_EQ(prompt.asked().size(), 3u);
    EXPECT_EQ(prompt.asked()[2].icon, PromptIcon::Error);
    EXPECT_TRUE(w->isVisible());

    // An edit that failed part-way (aircraft are written in folder order, Zz last): what was
    // written cannot be undone on disk, so the undo record goes.
    select(*w, "LstTargetSound", {"Zz", "N1K1", "Ki84"});
    button(*w, kSet)->trigger();
    button(*w, kSave)->trigger();
    EXPECT_EQ(prompt.asked().size(), 4u);
    EXPECT_EQ(file("N1K1", "sound/sound.cfg"), "[fltsim]\r\nalias=a6m2\\sound\r\n");
    EXPECT_FALSE(button(*w, kUndo)->isEnabled());
    EXPECT_TRUE(button(*w, kSave)->isEnabled()) << "Zz is still to be written";

    fs::remove(folder / "Zz" / "sound" / "sound.cfg.org");
    button(*w, kSave)->trigger();
    EXPECT_EQ(prompt.asked().size(), 4u);
    for (const char* dir : {"Zz", "N1K1", "Ki84"})
        EXPECT_EQ(file(dir, "sound/sound.cfg"), "[fltsim]\r\nalias=a6m2\\sound\r\n") << dir;
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(AliasSettingWindowTest, TheFirstGameOffersLear45AsAReceiverInBothViews) {
    const fs::path game1 = prefix.installGame(1, "C:\\Games\\CFS") / "Aircraft";
    addAircraft(game1 / "P51D", "P-51D", "own", "own");
    auto w = open(1);
    for (const char* name : {"LstTargetSound", "LstTargetPanel"}) {
        const test::ListRow first = test::rowAt(list(*w, name), 0);
        ASSERT_TRUE(first.isValid()) << name;
        EXPECT_EQ(first.index().data(Qt::UserRole).toString(), QStringLiteral("lear45")) << name;
        EXPECT_EQ(first.text(0), QString()) << name;
        EXPECT_EQ(first.text(1), QStringLiteral("lear45")) << name;
    }
    EXPECT_EQ(keys(*w, "LstAircraftSound"), QStringList{QStringLiteral("P51D")});
    w->close();
}

TEST_F(AliasGame2Test, KeepsItsPlacementAndSizeAndLaysOutTheLists) {
    const std::string ini = prefix.settingsFile().string();
    platform::writeIniString("FrmAliasSetting", "FORM_WIDTH", "12000", ini);
    platform::writeIniString("FrmAliasSetting", "FORM_HEIGHT", "9000", ini);
    auto w = open();
    const double dpi = w->logicalDpiY();
    const auto px = [dpi](double twips) { return qRound(twips * dpi / 1440); };
    EXPECT_EQ(w->size(), QSize(px(12000), px(9000)));
    const auto checkLayout = [&] {
        const QWidget* inside = list(*w, "LstTargetSound")->parentWidget();
        const int width = inside->width() - 30;
        const int height = inside->height() - 22;
        const QRect target(8, 56, qRound(width * 0.47), height - 56 + 1);
        const QRect lender(8 + target.width() + 10 - 1, 56, qRound(width * 0.53), target.height());
        EXPECT_EQ(list(*w, "LstTargetSound")->geometry(), target);
        EXPECT_EQ(list(*w, "LstTargetPanel")->geometry(), target);
        EXPECT_EQ(list(*w, "LstAircraftSound")->geometry(), lender);
        EXPECT_EQ(list(*w, "LstAircraftPanel")->geometry(), lender);
        EXPECT_EQ(child<QLabel>(*w, "LblTargert")->pos(), QPoint(8, 40));
        EXPECT_EQ(child<QLabel>(*w, "LblAircraft")->pos(), QPoint(lender.left(), 40));
        EXPECT_EQ(child<QStatusBar>(*w, "StBar")->geometry().bottom(), inside->height() - 1);
    };
    checkLayout();
    w->resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(px(9720), px(7890))) << "no smaller than its minimum";
    checkLayout();
    w->resize(px(13000), px(9500));
    w->close();
    platform::clearProfileCache();
    EXPECT_NEAR(std::stod(platform::readIniString("FrmAliasSetting", "FORM_WIDTH", "", ini)), 13000,
                30);
}

} // namespace
} // namespace vokari::ui
