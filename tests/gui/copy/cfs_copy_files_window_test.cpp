#include "common/prompt.h"
#include "gui/copy/cfs_copy_files_window.h"
#include "gui/launcher/tool_windows.h"
#include "support/fixtures.h"
#include "support/qt_app.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace vokari::ui {
namespace {

using test::writeFile;

const std::string kCaption = "CFS1 → CFS2 ファイル コピー";

class CfsCopyFilesWindowTest : public ::testing::Test {
protected:
    CfsCopyFilesWindowTest() { test::qtApp(); }

    // Presses copyButton_ and waits for the end message.
    void runCopy(CfsCopyFilesWindow& w) {
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CmdCopy")), Qt::LeftButton);
        EXPECT_TRUE(w.isCopying());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !prompt.asked().empty(); }, 10000));
        EXPECT_FALSE(w.isCopying());
    }

    test::TestPrefix prefix;
    fs::path cfs1 = prefix.installGame(1, "C:\\CFS1");
    fs::path cfs2 = prefix.installGame(2, "C:\\CFS2");
    ScriptedPrompt prompt;
};

TEST_F(CfsCopyFilesWindowTest, CopiesWithProgressOverEveryEntryAndSaysDone) {
    writeFile(cfs1 / "AIRCRAFT/P51D/aircraft.cfg", "p51");
    writeFile(cfs1 / "AIRCRAFT/P51D/panel/panel.cfg", "panel");
    writeFile(cfs1 / "GAUGES/p51.gau", "gauge");
    fs::create_directories(cfs2 / "Aircraft");
    fs::create_directories(cfs2 / "Gauges");

    auto w = createToolWindow(LauncherTool::Copy, 2, nullptr);
    auto* window = dynamic_cast<CfsCopyFilesWindow*>(w.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), kCaption);
    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("PrgBar"));
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("LblCopyFileNames"))->isHidden());
    EXPECT_TRUE(bar->isHidden());
    // The question says what goes where, as the user finds the folders.
    const QString info = window->findChild<QLabel*>(QStringLiteral("LblInfo"))->text();
    EXPECT_TRUE(info.startsWith(QStringLiteral("コピーを実行してよろしいですか？\n")))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QString::fromStdString(cfs1.string()))) << info.toStdString();
    EXPECT_TRUE(info.contains(QString::fromStdString(cfs2.string()))) << info.toStdString();

    runCopy(*window);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].title, kCaption);
    EXPECT_EQ(prompt.asked()[0].text, "コピーが完了しました。\r\nコピーしたファイル: 3 個\r\n"
                                      "CFS2 にあったのでそのままにしたファイル: 0 個");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Information);
    EXPECT_EQ(bar->maximum(), 5); // counted first: P51D, its two entries, panel.cfg, the gauge
    EXPECT_EQ(bar->value(), 5);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(test::readFile(cfs2 / "Aircraft/P51D/panel/panel.cfg"), "panel");
}

TEST_F(CfsCopyFilesWindowTest, FailuresAreCountedAndTheFirstListedNeverReportedAsDone) {
    for (const char* name : {"a:1", "a:2", "a:3", "a:4", "a:5", "a:6", "a:7"})
        writeFile(cfs1 / "Aircraft" / name, "");
    writeFile(cfs1 / "Aircraft/fine.cfg", "");
    fs::create_directories(cfs2 / "Aircraft");
    fs::create_directories(cfs2 / "Gauges");

    CfsCopyFilesWindow window;
    runCopy(window);
    ASSERT_EQ(prompt.asked().size(), 1u);
    const std::string reason = "Windows のパスに使えない文字を含む名前です。";
    // Each named by its host path, where the user can find and rename it.
    std::string text = "7 個のファイルまたはフォルダをコピーできませんでした。\r\n"
                       "コピーしたファイル: 1 個\r\nCFS2 にあったのでそのままにしたファイル: 0 個";
    for (const char* name : {"a:1", "a:2", "a:3", "a:4", "a:5"})
        text += "\r\n" + (cfs1 / "Aircraft" / name).string() + ": " + reason;
    EXPECT_EQ(prompt.asked()[0].text, text + "\r\nほか 2 件");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(fs::exists(cfs2 / "Aircraft/fine.cfg"));
}

} // namespace
} // namespace vokari::ui
