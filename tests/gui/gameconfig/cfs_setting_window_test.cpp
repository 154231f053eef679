#include "common/prompt.h"
#include "gui/gameconfig/cfs_setting_window.h"
#include "platform/profile.h"
#include "support/fixtures.h"

#include "support/qt_app.h"
#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using vokari::test::child;

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
// `text` with its one occurrence of `from` replaced.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

QApplication& app() {
    return vokari::test::qtApp();
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
    std::unique_ptr<CfsSettingWindow> open(int16_t version) {
        auto w = std::make_unique<CfsSettingWindow>(version);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    // Replaces a text box's text the way an input method hands text over.
    static void type(QLineEdit* edit, const QString& text) {
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(edit, &commit);
    }

    // Types into a text box and leaves it for another control.
    static void typeAndLeave(QWidget& w, const char* box, const QString& text, QWidget* next) {
        type(child<QLineEdit>(w, box), text);
        next->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }

    static PlayerColorBox* box(QWidget& w, int i) {
        return child<PlayerColorBox>(w, ("Pct_MC_" + std::to_string(i)).c_str());
    }

    test::TestPrefix prefix;
    ScriptedPrompt prompt;
    std::filesystem::path cfs1;
    std::filesystem::path cfs2;
};

TEST_F(CfsSettingWindowTest, ShowsTheFileAndSelectsColours) {
    auto w = open(2);
    EXPECT_EQ(w->windowHandle()->title(), QString::fromUtf8("CFS設定"));
    EXPECT_TRUE(child<QWidget>(*w, "PctMain")->isVisible());
    EXPECT_FALSE(child<QWidget>(*w, "PctMulti")->isVisible());
    EXPECT_EQ(child<QCheckBox>(*w, "ChkShowLogo")->checkState(), Qt::Checked);
    EXPECT_EQ(child<QCheckBox>(*w, "ChkShowMovie")->checkState(), Qt::Unchecked);
    EXPECT_EQ(child<QLineEdit>(*w, "TxtPlayerName")->text(), QString::fromUtf8("坂井 三郎"));
    EXPECT_EQ(child<QLineEdit>(*w, "TxtCollisionSec")->text(), QStringLiteral("2"));
    // The second game's palette: "&HE70008" is blue with a little red.
    EXPECT_EQ(box(*w, 0)->color(), QColor(0x08, 0x00, 0xE7));
    EXPECT_TRUE(box(*w, 3)->hasBorder());
    EXPECT_FALSE(box(*w, 0)->hasBorder());

    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    auto* apply = child<QPushButton>(*w, "cmdApply");
    EXPECT_FALSE(apply->isEnabled());
    QTest::mouseClick(box(*w, 3), Qt::LeftButton);
    EXPECT_FALSE(apply->isEnabled()) << "the selected colour clicked again";
    QTest::mouseClick(box(*w, 12), Qt::LeftButton);
    EXPECT_TRUE(apply->isEnabled());
    EXPECT_FALSE(box(*w, 3)->hasBorder());
    EXPECT_TRUE(box(*w, 12)->hasBorder());

    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_TRUE(w->isVisible()) << "apply keeps the window open";
    EXPECT_EQ(readFile(cfs2), replaced(kCfs2File, "COLOR_INDEX=3", "COLOR_INDEX=12"));
    QTest::mouseClick(box(*w, 12), Qt::LeftButton);
    EXPECT_FALSE(apply->isEnabled());
    w->reject();
    EXPECT_TRUE(prompt.asked().empty());
}

TEST_F(CfsSettingWindowTest, FirstGameHasItsOwnPaletteAndFile) {
    writeFile(cfs1, "[MAIN]\r\nShowLogo=1\r\n");
    auto w = open(1);
    EXPECT_EQ(box(*w, 0)->color(), QColor(0, 0, 0xFF));
    EXPECT_EQ(box(*w, 4)->color(), QColor(0x31, 0x4D, 0x73));
    QTest::mouseClick(child<QCheckBox>(*w, "ChkShowLogo"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readFile(cfs1), "[MAIN]\r\nShowLogo=0\r\n");
    EXPECT_EQ(readFile(cfs2), kCfs2File);
}

TEST_F(CfsSettingWindowTest, CollisionPauseTakesNumbersOnly) {
    auto w = open(2);
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    auto* name = child<QLineEdit>(*w, "TxtPlayerName");
    auto* seconds = child<QLineEdit>(*w, "TxtCollisionSec");

    typeAndLeave(*w, "TxtCollisionSec", QStringLiteral("2.7"), name);
    EXPECT_EQ(seconds->text(), QStringLiteral("2.7")) << "the box keeps what was typed";
    QTest::mouseClick(child<QPushButton>(*w, "cmdApply"), Qt::LeftButton);
    const std::string applied = replaced(kCfs2File, "COLLISION_SECS=2", "COLLISION_SECS=3");
    EXPECT_EQ(readFile(cfs2), applied);
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
    EXPECT_EQ(readFile(cfs2), applied);

    typeAndLeave(*w, "TxtCollisionSec", QString::fromUtf8("０"), name); // full-width zero
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readFile(cfs2), replaced(applied, "COLLISION_SECS=3", "COLLISION_SECS=0"));
}

TEST_F(CfsSettingWindowTest, TypingEnablesApplyAndEnterPressesOk) {
    // A pause the file holds as a fraction is taken whole by passing through the field.
    writeFile(cfs2, replaced(kCfs2File, "COLLISION_SECS=2", "COLLISION_SECS=2.5"));
    auto w = open(2);
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    auto* name = child<QLineEdit>(*w, "TxtPlayerName");
    auto* apply = child<QPushButton>(*w, "cmdApply");
    child<QLineEdit>(*w, "TxtCollisionSec")->setFocus(Qt::TabFocusReason);
    name->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_FALSE(apply->isEnabled());

    // Typing, before leaving the field.
    name->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(name, Qt::Key_A);
    EXPECT_TRUE(apply->isEnabled());
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readFile(cfs2), replaced(replaced(kCfs2File, "COLLISION_SECS=2", "COLLISION_SECS=3"),
                                       sjis("三郎"), sjis("三郎a")));
    EXPECT_TRUE(prompt.asked().empty());
}

TEST_F(CfsSettingWindowTest, OkWritesOnlyWhatChangedAndCancelNothing) {
    for (const char* button : {"CmdCancel", "CmdOk"}) {
        auto w = open(2);
        auto* logo = child<QCheckBox>(*w, "ChkShowLogo");
        QTest::mouseClick(logo, Qt::LeftButton);
        QTest::mouseClick(logo, Qt::LeftButton);
        EXPECT_TRUE(child<QPushButton>(*w, "cmdApply")->isEnabled()) << "changed back";
        child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
        // The name is still in its box when the button is clicked; the click takes it first.
        type(child<QLineEdit>(*w, "TxtPlayerName"), QString::fromUtf8(" 岩本 徹三 "));
        QTest::mouseClick(child<QPushButton>(*w, button), Qt::LeftButton);
        EXPECT_FALSE(w->isVisible());
        if (std::string(button) == "CmdCancel") {
            EXPECT_EQ(readFile(cfs2), kCfs2File);
        }
    }
    const std::string expected = replaced(replaced(kCfs2File, "ShowLogo= 1", "ShowLogo=1"),
                                          sjis("坂井 三郎"), sjis("岩本 徹三"));
    EXPECT_EQ(readFile(cfs2), expected) << "written again, so respaced; nothing else moved";
    EXPECT_TRUE(prompt.asked().empty());
}

TEST_F(CfsSettingWindowTest, AFailedSaveIsToldAndKeepsTheWindowOpen) {
    auto w = open(2);
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    // No form in the game's code page: the field says which characters at once, and the save
    // writes nothing, not even the setting changed before.
    auto* chars = child<QLabel>(*w, "LblPlayerNameChars");
    EXPECT_FALSE(chars->isVisible());
    QTest::mouseClick(box(*w, 5), Qt::LeftButton);
    type(child<QLineEdit>(*w, "TxtPlayerName"), QString::fromUtf8("Ace \xF0\x9F\x98\x80"));
    EXPECT_TRUE(chars->isVisible());
    EXPECT_TRUE(chars->text().contains(QString::fromUtf8("\xF0\x9F\x98\x80")));
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Error);
    EXPECT_NE(prompt.asked()[0].text.find("\xF0\x9F\x98\x80"), std::string::npos);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(child<QPushButton>(*w, "cmdApply")->isEnabled());
    EXPECT_EQ(readFile(cfs2), kCfs2File);
    w->reject();
}

TEST_F(CfsSettingWindowTest, AFileWrittenElsewhereSinceItWasReadIsWrittenOnlyOnYes) {
    auto w = open(2);
    writeFile(cfs2, replaced(kCfs2File, "PAN_RATE=400", "PAN_RATE=300"));
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(prompt.asked().empty()) << "nothing to write: nothing to ask";

    w = open(2);
    writeFile(cfs2, kCfs2File);
    QTest::mouseClick(child<QCheckBox>(*w, "ChkShowMovie"), Qt::LeftButton);
    prompt.queue(PromptAnswer::No);
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text,
              "設定ファイルは、読み込んだ後に変更されています。\r\n変更した設定を書き込みますか？");
    EXPECT_EQ(prompt.asked()[0].defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(readFile(cfs2), kCfs2File) << "no: nothing written";
    EXPECT_TRUE(w->isVisible());

    // The edit stayed: yes writes it, and the window's own write is no one else's.
    prompt.queue(PromptAnswer::Yes);
    QTest::mouseClick(child<QPushButton>(*w, "cmdApply"), Qt::LeftButton);
    EXPECT_EQ(readFile(cfs2), replaced(kCfs2File, "ShowMovie=0", "ShowMovie=1"));
    QTest::mouseClick(child<QCheckBox>(*w, "ChkShowMovie"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(prompt.asked().size(), 2u);
    EXPECT_EQ(readFile(cfs2), kCfs2File);
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
        EXPECT_FALSE(box(*w, i)->hasBorder());

    // Passing through the fields without typing asks nothing and changes nothing.
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    child<QLineEdit>(*w, "TxtCollisionSec")->setFocus(Qt::TabFocusReason);
    child<QLineEdit>(*w, "TxtPlayerName")->setFocus(Qt::TabFocusReason);
    child<QCheckBox>(*w, "ChkDspCheatWarn")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(prompt.asked().empty());
    EXPECT_FALSE(child<QPushButton>(*w, "cmdApply")->isEnabled());
    // A name typed where the file had none is a change like any other.
    typeAndLeave(*w, "TxtPlayerName", QStringLiteral("Ace"),
                 child<QCheckBox>(*w, "ChkDspCheatWarn"));
    EXPECT_TRUE(child<QPushButton>(*w, "cmdApply")->isEnabled());

    // The first click gives the unset box a real state, the next ones toggle it.
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(0);
    const Qt::CheckState states[] = {Qt::Checked, Qt::Unchecked, Qt::Checked};
    for (Qt::CheckState state : states) {
        QTest::mouseClick(logo, Qt::LeftButton);
        EXPECT_EQ(logo->checkState(), state);
    }
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    QTest::mouseClick(box(*w, 2), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    EXPECT_EQ(readFile(cfs2),
              replaced(replaced(replaced(odd, "ShowLogo=2", "ShowLogo=1"), "INDEX=20", "INDEX=2"),
                       "NAME=\r\n", "NAME=Ace\r\n"));
}

TEST_F(CfsSettingWindowTest, ButtonsTakeTheFieldBeingEditedInAnInactiveWindow) {
    // No window manager: the window is never the active one, so the field never loses focus.
    auto w = std::make_unique<CfsSettingWindow>(2);
    w->show();
    child<QTabBar>(*w, "tbsOptions")->setCurrentIndex(1);
    type(child<QLineEdit>(*w, "TxtCollisionSec"), QStringLiteral("5"));
    QTest::mouseClick(child<QPushButton>(*w, "CmdOk"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readFile(cfs2), replaced(kCfs2File, "COLLISION_SECS=2", "COLLISION_SECS=5"));
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
    const std::string file = prefix.settingsFile().string();
    platform::writeIniString("frmCfsSetting", "FORM_LEFT", "1500", file);
    platform::writeIniString("frmCfsSetting", "FORM_TOP", "750", file);
    platform::writeIniString("frmCfsSetting", "FORM_WIDTH", "20000", file);
    CfsSettingWindow w(2);
    const double dpi = w.logicalDpiY();
    EXPECT_EQ(w.pos(), QPoint(qRound(1500 * dpi / 1440), qRound(750 * dpi / 1440)));
    EXPECT_LT(w.width(), qRound(7000 * dpi / 1440)) << "the designed width stays";
    w.show();
    w.reject();
    EXPECT_NE(platform::readIniString("frmCfsSetting", "FORM_WIDTH", "", file), "20000");
}

} // namespace
} // namespace vokari::ui
