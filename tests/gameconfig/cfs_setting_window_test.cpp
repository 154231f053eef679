#include "common/prompt.h"
#include "gameconfig/cfs_setting_window.h"
#include "platform/profile.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace vokari::ui {
namespace {

using test::readFile;
using test::sjis;
using test::writeFile;

const std::string kCfs2File = sjis("[MAIN]\r\n"
                                   "ShowLogo= 1\r\n"
                                   "ShowMovie=0\r\n"
                                   "\r\n"
                                   "[MULTIPLAYER]\r\n"
                                   "SP_PLAYER_NAME=坂井 三郎\r\n"
                                   "SP_PLAYER_COLOR_INDEX=3\r\n"
                                   "SP_DISPLAY_CHEAT_WARNINGS=1\r\n"
                                   "COLLISION_SECS=2\r\n"
                                   "SP_PLAYER_AIRCRAFT=A6M2\r\n"
                                   "\r\n"
                                   "[CONTROLS]\r\n"
                                   "PAN_RATE=400\r\n");

// One application for the whole program, never destroyed: Qt's own statics go first at exit.
QApplication& app() {
    static int argc = 1;
    static char name[] = "cfs_setting_window_test";
    static char* argv[] = {name, nullptr};
    static auto* application = new QApplication(argc, argv);
    return *application;
}

class CfsSettingWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        cfs1 = prefix.installGame(1, "C:\\Games\\CFS1") / "COMBATFS.CFG";
        cfs2 = prefix.installGame(2, "C:\\Games\\CFS2") / "cfs2.cfg";
        writeFile(cfs2, kCfs2File);
    }

    // Opens the window as the launcher does and makes it the active one, so focus moves.
    std::unique_ptr<frmCfsSetting> open(int16_t version) {
        auto w = std::make_unique<frmCfsSetting>(version);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    template <typename T> static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    // Replaces a text box's text as a user does: ASCII by keys, the rest through the input
    // method, which is how Japanese text arrives.
    static void type(QLineEdit* edit, const QString& text) {
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            QTest::keyClicks(edit, text);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(edit, &commit);
        }
    }

    // Types into a text box and leaves it for another control.
    static void typeAndLeave(QWidget& w, const char* box, const QString& text, QWidget* next) {
        type(child<QLineEdit>(w, box), text);
        next->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }

    test::TestPrefix prefix;
    ScriptedPrompt prompt;
    std::filesystem::path cfs1;
    std::filesystem::path cfs2;
};

TEST_F(CfsSettingWindowTest, ShowsTheFileAndTheSystemsTexts) {
    auto w = open(2);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("CFS設定"));
    auto* tabs = child<QTabBar>(*w, "tbsOptions");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QString::fromUtf8("基本設定"));
    EXPECT_EQ(tabs->tabData(0).toString(), QStringLiteral("tabSetting"));
    EXPECT_EQ(tabs->tabText(1), QString::fromUtf8("マルチプレーヤー"));
    EXPECT_EQ(tabs->tabData(1).toString(), QStringLiteral("tabMulti"));
    EXPECT_TRUE(child<QWidget>(*w, "PctMain")->isVisible());
    EXPECT_FALSE(child<QWidget>(*w, "PctMulti")->isVisible());

    auto* logo = child<QCheckBox>(*w, "ChkShowLogo");
    EXPECT_EQ(logo->text(), QString::fromUtf8("オープニングロゴを表示する"));
    EXPECT_EQ(logo->toolTip(),
              QString::fromUtf8("CFS起動時に表示されるMicrosoft ロゴを有効／無効を設定します"));
    EXPECT_EQ(logo->checkState(), Qt::Checked);
    EXPECT_EQ(child<QCheckBox>(*w, "ChkShowMovie")->checkState(), Qt::Unchecked);
    EXPECT_EQ(child<QCheckBox>(*w, "ChkDspCheatWarn")->checkState(), Qt::Checked);
    EXPECT_EQ(child<QLineEdit>(*w, "TxtPlayerName")->text(), QString::fromUtf8("坂井 三郎"));
    EXPECT_EQ(child<QLabel>(*w, "Label1")->toolTip(),
              QString::fromUtf8("プレーヤー名を設定します（CFS2でも初期表示されます）"));
    EXPECT_EQ(child<QLineEdit>(*w, "TxtCollisionSec")->text(), QStringLiteral("2"));
    EXPECT_EQ(child<QLabel>(*w, "Label3")->toolTip(),
              QString::fromUtf8("衝突時に何回も爆発する場合は０に設定してください"));
    EXPECT_EQ(child<QLabel>(*w, "Label4")->text(), QString::fromUtf8("初期値：2"));
    EXPECT_EQ(child<QPushButton>(*w, "CmdCancel")->text(), QString::fromUtf8("ｷｬﾝｾﾙ"));
    EXPECT_EQ(child<QPushButton>(*w, "cmdApply")->text(), QString::fromUtf8("更新"));
    EXPECT_FALSE(child<QPushButton>(*w, "cmdApply")->isEnabled());

    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(child<PlayerColorBox>(*w, ("Pct_MC_" + std::to_string(i)).c_str())->hasBorder(),
                  i == 3)
            << i;
    // The second game's palette: "&HE70008" is blue with a little red.
    EXPECT_EQ(child<PlayerColorBox>(*w, "Pct_MC_0")->color(), QColor(0x08, 0x00, 0xE7));
    EXPECT_EQ(child<PlayerColorBox>(*w, "Pct_MC_15")->color(), QColor(0xFF, 0xFF, 0x00));
    w->reject();
    EXPECT_TRUE(prompt.asked().empty());
}

TEST_F(CfsSettingWindowTest, FirstGameHasItsOwnPaletteAndFile) {
    writeFile(cfs1, "[MAIN]\r\nShowLogo=1\r\n");
    auto w = open(1);
    EXPECT_EQ(child<PlayerColorBox>(*w, "Pct_MC_0")->color(), QColor(0, 0, 0xFF));
    EXPECT_EQ(child<PlayerColorBox>(*w, "Pct_MC_1")->color(), QColor(0xFF, 0, 0));
    EXPECT_EQ(child<PlayerColorBox>(*w, "Pct_MC_4")->color(), QColor(0x31, 0x4D, 0x73));
    EXPECT_TRUE(child<PlayerColorBox>(*w, "Pct_MC_0")->hasBorder()) << "index 0 by default";
    QTest::mouseClick(child<QCheckBox>(*w, "ChkShowLogo"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readFile(cfs1), "[MAIN]\r\nShowLogo=0\r\n");
    EXPECT_EQ(readFile(cfs2), kCfs2File);
}

TEST_F(CfsSettingWindowTest, ColourBoxesSelectThePlayersColour) {
    auto w = open(2);
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    auto* apply = child<QPushButton>(*w, "cmdApply");
    QTest::mouseClick(child<PlayerColorBox>(*w, "Pct_MC_3"), Qt::LeftButton);
    EXPECT_FALSE(apply->isEnabled()) << "the selected colour clicked again";

    QTest::mouseClick(child<PlayerColorBox>(*w, "Pct_MC_12"), Qt::LeftButton);
    EXPECT_TRUE(apply->isEnabled());
    EXPECT_FALSE(child<PlayerColorBox>(*w, "Pct_MC_3")->hasBorder());
    EXPECT_TRUE(child<PlayerColorBox>(*w, "Pct_MC_12")->hasBorder());

    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_TRUE(w->isVisible()) << "apply keeps the window open";
    std::string expected = kCfs2File;
    expected.replace(expected.find("COLOR_INDEX=3"), 13, "COLOR_INDEX=12");
    EXPECT_EQ(readFile(cfs2), expected);

    QTest::mouseClick(child<PlayerColorBox>(*w, "Pct_MC_12"), Qt::LeftButton);
    EXPECT_FALSE(apply->isEnabled()) << "after apply, re-clicking changes nothing";
    w->reject();
}

TEST_F(CfsSettingWindowTest, CollisionPauseTakesWholeNumbersOnly) {
    auto w = open(2);
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    auto* name = child<QLineEdit>(*w, "TxtPlayerName");
    auto* seconds = child<QLineEdit>(*w, "TxtCollisionSec");

    typeAndLeave(*w, "TxtCollisionSec", QStringLiteral("2.7"), name);
    EXPECT_EQ(seconds->text(), QStringLiteral("2.7")) << "the box keeps what was typed";
    QTest::mouseClick(child<QPushButton>(*w, "cmdApply"), Qt::LeftButton);
    std::string expected = kCfs2File;
    expected.replace(expected.find("COLLISION_SECS=2"), 16, "COLLISION_SECS=3");
    EXPECT_EQ(readFile(cfs2), expected);
    EXPECT_TRUE(prompt.asked().empty());

    typeAndLeave(*w, "TxtCollisionSec", QStringLiteral("abc"), name);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].title, "CFS設定");
    EXPECT_EQ(prompt.asked()[0].text, "数字を入れてください");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::None);
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::Ok);
    EXPECT_TRUE(seconds->hasFocus()) << "focus goes back to the field";

    // Clicking OK while the field holds letters asks once and neither saves nor closes.
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(prompt.asked().size(), 2u);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readFile(cfs2), expected);

    typeAndLeave(*w, "TxtCollisionSec", QString::fromUtf8("０"), name); // full-width zero
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    expected.replace(expected.find("COLLISION_SECS=3"), 16, "COLLISION_SECS=0");
    EXPECT_EQ(readFile(cfs2), expected);
}

TEST_F(CfsSettingWindowTest, OkWritesOnlyWhatChangedAndCancelNothing) {
    {
        auto w = open(2);
        auto* logo = child<QCheckBox>(*w, "ChkShowLogo");
        QTest::mouseClick(logo, Qt::LeftButton);
        QTest::mouseClick(logo, Qt::LeftButton);
        EXPECT_TRUE(child<QPushButton>(*w, "cmdApply")->isEnabled()) << "changed back";
        child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
        typeAndLeave(*w, "TxtPlayerName", QString::fromUtf8("  岩本 徹三 "),
                     child<QCheckBox>(*w, "ChkDspCheatWarn"));
        QTest::mouseClick(child<PlayerColorBox>(*w, "Pct_MC_7"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(*w, "CmdCancel"), Qt::LeftButton);
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(readFile(cfs2), kCfs2File);
    }
    auto w = open(2);
    QTest::mouseClick(child<QCheckBox>(*w, "ChkShowLogo"), Qt::LeftButton);
    QTest::mouseClick(child<QCheckBox>(*w, "ChkShowLogo"), Qt::LeftButton);
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    // The name is still in its box when OK is clicked; clicking takes it first.
    auto* name = child<QLineEdit>(*w, "TxtPlayerName");
    type(name, QString::fromUtf8("岩本 徹三 "));
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    std::string expected = kCfs2File;
    expected.replace(expected.find("ShowLogo= 1"), 11, "ShowLogo=1"); // written again
    expected.replace(expected.find(sjis("坂井 三郎")), sjis("坂井 三郎").size(), sjis("岩本 徹三"));
    EXPECT_EQ(readFile(cfs2), expected);
    EXPECT_TRUE(prompt.asked().empty());
}

TEST_F(CfsSettingWindowTest, ValuesItCannotShowOpenUnsetAndStayUntilEdited) {
    const std::string odd = "[MAIN]\r\nShowLogo=2\r\nShowMovie=yes\r\n[MULTIPLAYER]\r\n"
                            "SP_PLAYER_NAME=\r\nSP_PLAYER_COLOR_INDEX=20\r\n"
                            "SP_DISPLAY_CHEAT_WARNINGS=1\r\nCOLLISION_SECS=two\r\n";
    writeFile(cfs2, odd);
    auto w = open(2);
    auto* logo = child<QCheckBox>(*w, "ChkShowLogo");
    EXPECT_EQ(logo->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(child<QCheckBox>(*w, "ChkShowMovie")->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(child<QLineEdit>(*w, "TxtCollisionSec")->text(), QString());
    for (int i = 0; i < 16; ++i)
        EXPECT_FALSE(
            child<PlayerColorBox>(*w, ("Pct_MC_" + std::to_string(i)).c_str())->hasBorder());

    // Passing through the fields without typing asks nothing and changes nothing.
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    child<QLineEdit>(*w, "TxtCollisionSec")->setFocus(Qt::TabFocusReason);
    child<QLineEdit>(*w, "TxtPlayerName")->setFocus(Qt::TabFocusReason);
    child<QCheckBox>(*w, "ChkDspCheatWarn")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(prompt.asked().empty());
    EXPECT_FALSE(child<QPushButton>(*w, "cmdApply")->isEnabled());

    // A name typed over an empty one is not a change (it was empty when loaded).
    typeAndLeave(*w, "TxtPlayerName", QStringLiteral("Ace"),
                 child<QCheckBox>(*w, "ChkDspCheatWarn"));
    EXPECT_FALSE(child<QPushButton>(*w, "cmdApply")->isEnabled());

    // The first click gives the unset box a real state, the next ones toggle it.
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(0);
    QTest::mouseClick(logo, Qt::LeftButton);
    EXPECT_EQ(logo->checkState(), Qt::Checked);
    QTest::mouseClick(logo, Qt::LeftButton);
    EXPECT_EQ(logo->checkState(), Qt::Unchecked);
    QTest::mouseClick(logo, Qt::LeftButton);
    EXPECT_EQ(logo->checkState(), Qt::Checked);
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    QTest::mouseClick(child<PlayerColorBox>(*w, "Pct_MC_2"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    std::string expected = odd;
    expected.replace(expected.find("ShowLogo=2"), 10, "ShowLogo=1");
    expected.replace(expected.find("INDEX=20"), 8, "INDEX=2");
    EXPECT_EQ(readFile(cfs2), expected);
}

TEST_F(CfsSettingWindowTest, CtrlTabGoesRoundTheTabsFromAnyControl) {
    auto w = open(2);
    auto* tabs = child<QTabBar>(*w, "tbsOptions");
    auto* logo = child<QCheckBox>(*w, "ChkShowLogo");
    logo->setFocus();
    QTest::keyClick(logo, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_TRUE(child<QWidget>(*w, "PctMulti")->isVisible());
    EXPECT_FALSE(child<QWidget>(*w, "PctMain")->isVisible());
    auto* name = child<QLineEdit>(*w, "TxtPlayerName");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 0) << "from the last tab to the first";
    EXPECT_TRUE(child<QWidget>(*w, "PctMain")->isVisible());
    w->reject();
}

TEST_F(CfsSettingWindowTest, KeepsItsPositionButNotItsSize) {
    platform::writeIniString("frmCfsSetting", "FORM_LEFT", "1500", prefix.settingsFile().string());
    platform::writeIniString("frmCfsSetting", "FORM_TOP", "750", prefix.settingsFile().string());
    platform::writeIniString("frmCfsSetting", "FORM_WIDTH", "20000",
                             prefix.settingsFile().string());
    frmCfsSetting w(2);
    const double dpi = w.logicalDpiY();
    EXPECT_EQ(w.pos(), QPoint(qRound(1500 * dpi / 1440), qRound(750 * dpi / 1440)));
    EXPECT_LT(w.width(), qRound(7000 * dpi / 1440)) << "the designed width stays";
    w.show();
    w.reject();
    const std::string file = prefix.settingsFile().string();
    EXPECT_NE(platform::readIniString("frmCfsSetting", "FORM_HEIGHT", "", file), "");
    EXPECT_NE(platform::readIniString("frmCfsSetting", "FORM_WIDTH", "", file), "20000");
}

} // namespace
} // namespace vokari::ui
