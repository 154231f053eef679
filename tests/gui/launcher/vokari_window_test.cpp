#include "common/prompt.h"
#include "frame/installation.h"
#include "frame/prefix_choice.h"
#include "gui/kit/about_dialog.h"
#include "gui/launcher/vokari_window.h"
#include "installer/archiver_availability.h"
#include "platform/host_paths.h"
#include "platform/profile.h"
#include "support/fixtures.h"
#include "support/qt_app.h"

#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using vokari::test::child;

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::readFile;
using vokari::test::ScopedEnv;
using vokari::test::TestPrefix;
using vokari::test::writeFile;
using vokari::ui::AboutDialog;
using vokari::ui::VokariWindow;

namespace {

const std::string kCaption = "Vokari Menu";

// Records which tool windows the launcher asked for; opens a plain dialog for each.
struct FakeTools {
    std::vector<std::pair<LauncherTool, int16_t>> requests;
    QPointer<QDialog> open;
    bool build = true;
    std::function<void(QDialog&)> whileOpen;

    ui::ToolWindowFactory factory() {
        return [this](LauncherTool tool, int16_t version,
                      QWidget* launcher) -> std::unique_ptr<QDialog> {
            requests.emplace_back(tool, version);
            if (!build)
                return nullptr;
            auto window = std::make_unique<QDialog>(launcher);
            window->setWindowTitle(QStringLiteral("Tool"));
            open = window.get();
            QTimer::singleShot(0, window.get(), [this, w = window.get()] {
                if (whileOpen)
                    whileOpen(*w);
                w->reject();
            });
            return window;
        };
    }
};

class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() { vokari::test::qtApp(); }

    std::unique_ptr<VokariWindow> makeLauncher() {
        return std::make_unique<VokariWindow>(tools.factory());
    }
    std::string saved(const char* key) {
        platform::clearProfileCache();
        return platform::readIniString("FrmVokari", key, "<none>", prefix.settingsFile().string());
    }
    void save(const char* key, const char* value) {
        platform::writeIniString("FrmVokari", key, value, prefix.settingsFile().string());
    }

    TestPrefix prefix;
    ScriptedPrompt prompt;
    FakeTools tools;
};

struct InstallCase {
    bool cfs1, cfs2;
    const char* savedVersion; // nullptr: no settings file
    bool cfs1Enabled, cfs2Enabled, copyEnabled;
    int16_t selected;
};

TEST_F(LauncherTest, OptionsFollowInstalledGamesAndSavedChoice) {
    const InstallCase cases[] = {
        {false, true, "1", false, true, false, 2},  // saved game missing: the installed one
        {true, false, "2", true, false, false, 1},  //
        {true, true, nullptr, true, true, true, 1}, // first start
        {true, true, "2", true, true, true, 2},     //
        {true, true, "", true, true, true, 1},      // not a number: no choice
        {true, true, "7", true, true, true, 1},     //
    };
    for (const InstallCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.cfs1 << c.cfs2 << (c.savedVersion ? c.savedVersion : "(none)"));
        TestPrefix fresh;
        if (c.cfs1)
            fresh.installGame(1, "C:\\Games\\CFS");
        if (c.cfs2)
            fresh.installGame(2, "C:\\Games\\CFS2");
        if (c.savedVersion)
            platform::writeIniString("FrmVokari", "SELECTED_CFS_VERSION", c.savedVersion,
                                     fresh.settingsFile().string());
        VokariWindow launcher(tools.factory());
        ASSERT_TRUE(launcher.load());
        auto* opt1 = child<QRadioButton>(launcher, "OptCFS1");
        auto* opt2 = child<QRadioButton>(launcher, "OptCFS2");
        EXPECT_EQ(opt1->isEnabled(), c.cfs1Enabled);
        EXPECT_EQ(opt2->isEnabled(), c.cfs2Enabled);
        EXPECT_EQ(launcher.toolButton(LauncherTool::Copy)->isEnabled(), c.copyEnabled);
        EXPECT_EQ(opt1->isChecked(), c.selected == 1);
        EXPECT_EQ(opt2->isChecked(), c.selected == 2);
        EXPECT_EQ(launcher.selectedCfsVersion(), c.selected);
        launcher.close();
        platform::clearProfileCache();
        EXPECT_EQ(platform::readIniString("FrmVokari", "SELECTED_CFS_VERSION", "",
                                          fresh.settingsFile().string()),
                  std::to_string(c.selected));
    }
    EXPECT_TRUE(prompt.asked().empty());
}

TEST_F(LauncherTest, NoGameInstalledTellsAndUnloads) {
    auto launcher = makeLauncher();
    EXPECT_FALSE(launcher->load());
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].title, kCaption);
    EXPECT_EQ(prompt.asked()[0].text, "Combat Flight Simulator がインストールされていません");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Error);
    // The unload steps still ran.
    EXPECT_EQ(saved("SELECTED_CFS_VERSION"), "1");
    EXPECT_NE(saved("FORM_LEFT"), "<none>");
}

TEST_F(LauncherTest, ControlsCarryTheirTexts) {
    prefix.installGame(1, "C:\\Games\\CFS");
    auto launcher = makeLauncher();
    ASSERT_TRUE(launcher->load());
    EXPECT_EQ(launcher->windowTitle(), QStringLiteral("Vokari Menu"));
    EXPECT_EQ(child<QPushButton>(*launcher, "CmdExit")->text(), QString::fromUtf8("終　了"));
    EXPECT_EQ(child<QPushButton>(*launcher, "CmdCfsArcInstall")->toolTip(),
              QString::fromUtf8("ZIP形式で配布されるファイルのインストールを支援します"));
    EXPECT_EQ(child<QPushButton>(*launcher, "CmdCFSCopyFiles")->text(),
              QString::fromUtf8("CFS1 → CFS2 ファイル コピー"));
    EXPECT_EQ(child<QLabel>(*launcher, "Label2")->text(), QStringLiteral("Prototype R.0.0.6"));
    for (LauncherTool tool : kLauncherTools)
        EXPECT_NE(launcher->toolButton(tool), nullptr);
    launcher->close();
}

TEST_F(LauncherTest, ToolOpensModallyWithTheChosenGameAndRefusesClosing) {
    prefix.installGame(1, "C:\\Games\\CFS");
    prefix.installGame(2, "C:\\Games\\CFS2");
    auto launcher = makeLauncher();
    ASSERT_TRUE(launcher->load());
    launcher->show();
    child<QRadioButton>(*launcher, "OptCFS2")->setChecked(true);

    bool closedWhileOpen = true;
    tools.whileOpen = [&](QDialog&) {
        closedWhileOpen = launcher->close();
        EXPECT_TRUE(launcher->isVisible());
    };
    launcher->toolButton(LauncherTool::QuickCombat)->click();
    EXPECT_FALSE(closedWhileOpen);
    ASSERT_EQ(tools.requests.size(), 1u);
    EXPECT_EQ(tools.requests[0], std::make_pair(LauncherTool::QuickCombat, int16_t{2}));
    EXPECT_TRUE(tools.open.isNull()) << "the tool window is unloaded when it closes";
    EXPECT_EQ(saved("SELECTED_CFS_VERSION"), "<none>") << "nothing written while refused";

    // Every opening gets a fresh window; with it closed, the launcher closes.
    tools.whileOpen = nullptr;
    launcher->toolButton(LauncherTool::Enabler)->click();
    EXPECT_EQ(tools.requests.size(), 2u);
    EXPECT_TRUE(launcher->close());
    EXPECT_EQ(saved("SELECTED_CFS_VERSION"), "2");
}

TEST_F(LauncherTest, ToolNotBuiltOpensNothing) {
    prefix.installGame(1, "C:\\Games\\CFS");
    tools.build = false;
    auto launcher = makeLauncher();
    ASSERT_TRUE(launcher->load());
    launcher->toolButton(LauncherTool::Settings)->click();
    EXPECT_EQ(tools.requests.size(), 1u);
    EXPECT_TRUE(prompt.asked().empty());
    EXPECT_TRUE(launcher->close());
}

TEST_F(LauncherTest, InstallerNeedsAnArchiver) {
    prefix.installGame(1, "C:\\Games\\CFS");
    auto launcher = makeLauncher();
    ASSERT_TRUE(launcher->load());
    {
        FixedArchiverAvailability none(false, false);
        launcher->toolButton(LauncherTool::Install)->click();
        EXPECT_TRUE(tools.requests.empty());
        ASSERT_EQ(prompt.asked().size(), 1u);
        EXPECT_EQ(prompt.asked()[0].title, kCaption);
        EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Error);
        EXPECT_EQ(prompt.asked()[0].text, "UNZIP32.DLLおよびUNLHA.DLLが見つかりません。\r\n"
                                          "この機能を使用するには UNZIP32.DLL あるいは\r\n"
                                          "UNLHA32.DLLをインストールしてください｡ ");
    }
    prompt.clear();
    for (const auto& [zip, lha] : {std::pair{true, false}, std::pair{false, true}}) {
        FixedArchiverAvailability one(zip, lha);
        launcher->toolButton(LauncherTool::Install)->click();
    }
    EXPECT_EQ(tools.requests.size(), 2u);
    EXPECT_TRUE(prompt.asked().empty());
    launcher->close();
}

TEST_F(LauncherTest, WorkDirectoryLeftBehindIsReported) {
    prefix.installGame(1, "C:\\Games\\CFS");
    {
        auto launcher = makeLauncher();
        ASSERT_TRUE(launcher->load());
        EXPECT_TRUE(launcher->close());
        EXPECT_TRUE(prompt.asked().empty()) << "no work directory, no message";
    }
    const fs::path work = prefix.temp() / "vokaritmp";
    writeFile(work / "nested" / "kept.txt", "x");
    fs::permissions(work / "nested" / "kept.txt", fs::perms::owner_read);
    writeFile(work / "gone.txt", "y");
    auto launcher = makeLauncher();
    ASSERT_TRUE(launcher->load());
    EXPECT_TRUE(launcher->close());
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].title, kCaption);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Error);
    EXPECT_EQ(prompt.asked()[0].text, "作業ディレクトリの削除に失敗しました。\r\n"
                                      "作業ディレクトリを手動で削除してください。\r\n"
                                      "作業ディレクトリは[" +
                                          work.string() + "/]です。")
        << "named as the user finds it on this system";
    EXPECT_FALSE(fs::exists(work / "gone.txt"));
    EXPECT_EQ(saved("SELECTED_CFS_VERSION"), "1") << "the earlier steps still ran";
}

TEST_F(LauncherTest, PlacementSavedOnCloseAndPositionRestored) {
    prefix.installGame(2, "C:\\Games\\CFS2");
    QSize designed;
    {
        auto launcher = makeLauncher();
        ASSERT_TRUE(launcher->load());
        designed = launcher->size();
        // First start: centred on the screen.
        const QRect screen = launcher->screen()->geometry();
        EXPECT_NEAR(launcher->x(), (screen.width() - launcher->width()) / 2, 1);
        EXPECT_NEAR(launcher->y(), (screen.height() - launcher->height()) / 2, 1);
        launcher->move(120, 90);
        EXPECT_TRUE(launcher->close());
    }
    const std::string text = readFile(prefix.settingsFile());
    const auto at = [&](const char* key) { return text.find(key); };
    EXPECT_LT(at("[FrmVokari]"), at("FORM_HEIGHT="));
    EXPECT_LT(at("FORM_HEIGHT="), at("FORM_WIDTH="));
    EXPECT_LT(at("FORM_WIDTH="), at("FORM_TOP="));
    EXPECT_LT(at("FORM_TOP="), at("FORM_LEFT="));
    EXPECT_LT(at("FORM_LEFT="), at("SELECTED_CFS_VERSION=2"));
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    EXPECT_NEAR(std::stod(saved("FORM_LEFT")), 120 * 1440 / dpi, 1);
    EXPECT_NEAR(std::stod(saved("FORM_TOP")), 90 * 1440 / dpi, 1);

    // The size in the file is ignored at start.
    save("FORM_WIDTH", "30000");
    save("FORM_HEIGHT", "30000");
    auto launcher = makeLauncher();
    ASSERT_TRUE(launcher->load());
    EXPECT_EQ(launcher->pos(), QPoint(120, 90));
    EXPECT_EQ(launcher->size(), designed);
    launcher->close();
}

TEST_F(LauncherTest, AboutBoxFromTheCreditLabel) {
    prefix.installGame(1, "C:\\Games\\CFS");
    auto launcher = makeLauncher();
    ASSERT_TRUE(launcher->load());
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        seen = true;
        EXPECT_EQ(about->windowTitle(), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報"));
        EXPECT_EQ(child<QLabel>(*about, "lblVersion")->text(),
                  QStringLiteral("Version : Prototype R.0.0.6"));
        {
            // No information program on this PATH.
            vokari::test::TempDir empty;
            ScopedEnv path("PATH", empty.path().string());
            child<QPushButton>(*about, "cmdSysInfo")->click();
        }
        child<QPushButton>(*about, "CmdOk")->click();
    });
    auto* credit = child<QLabel>(*launcher, "LblAbout");
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(2, 2), credit->mapToGlobal(QPointF(2, 2)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(credit, &dbl);
    EXPECT_TRUE(seen);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].title, "ﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(prompt.asked()[0].text, "現時点ではｼｽﾃﾑ情報を使用できません");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::None);
    launcher->close();
}

} // namespace

TEST_F(LauncherTest, OffersThePrefixesThatHoldAGameAndSwitchesBetweenThem) {
    const fs::path bottle = prefix.root() / "bottle";
    const fs::path proton = prefix.root() / "proton";
    test::makeWinePrefix(bottle, {2});
    test::makeWinePrefix(proton, {1});
    test::makeWinePrefix(prefix.root() / "empty");
    std::vector<GamePrefix> found;
    for (const fs::path& p : {bottle, prefix.root() / "empty", proton})
        found.push_back(GamePrefix{{p, "bottles", p.filename().string()}, gamesInPrefix(p)});
    platform::setWinePrefixOverride(bottle);

    auto launcher = makeLauncher();
    launcher->setGamePrefixes(found);
    ASSERT_TRUE(launcher->load());
    auto* combo = child<QComboBox>(*launcher, "CboWinePrefix");
    EXPECT_FALSE(combo->isHidden());
    ASSERT_EQ(combo->count(), 2); // the prefix without a game is not offered
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(launcher->selectedCfsVersion(), 2);
    EXPECT_FALSE(child<QRadioButton>(*launcher, "OptCFS1")->isEnabled());

    launcher->choosePrefix(1);
    EXPECT_EQ(platform::winePrefix(), proton);
    EXPECT_EQ(gameFolder(kGameCfs1), "C:\\Games\\CFS1\\");
    EXPECT_EQ(launcher->selectedCfsVersion(), 1);
    EXPECT_FALSE(child<QRadioButton>(*launcher, "OptCFS2")->isEnabled());
    EXPECT_EQ(saved("WINE_PREFIX"), proton.string());

    // With one prefix holding a game, the launcher looks as it always did.
    launcher->setGamePrefixes({found[0]});
    EXPECT_TRUE(combo->isHidden());
}

// A tool window that takes files, as the installer does.
class FileTakingTool : public QDialog, public ui::FileOpeningWindow {
public:
    explicit FileTakingTool(QStringList& received) : received_(received) {
        QTimer::singleShot(50, this, [this] { reject(); }); // when no files come
    }
    void openFiles(const QStringList& files) override {
        received_ += files;
        reject();
    }

private:
    QStringList& received_;
};

TEST_F(LauncherTest, StartupFilesGoToTheFirstToolOpenedOnly) {
    prefix.installGame(2, "C:\\Games\\CFS2");
    QStringList received;
    VokariWindow launcher([&](LauncherTool, int16_t, QWidget*) -> std::unique_ptr<QDialog> {
        return std::make_unique<FileTakingTool>(received);
    });
    ASSERT_TRUE(launcher.load());
    launcher.setStartupFiles({QStringLiteral("/packages/p51d.zip")});
    launcher.openTool(LauncherTool::Install);
    EXPECT_EQ(received, QStringList{QStringLiteral("/packages/p51d.zip")});
    launcher.openTool(LauncherTool::Install);
    EXPECT_EQ(received.size(), 1);
    launcher.close();
}
