#include "common/prompt.h"
#include "gui/launcher/handover_window.h"
#include "gui/launcher/vokari_window.h"
#include "support/fixtures.h"
#include "support/qt_app.h"

#include <QDialog>
#include <QTest>
#include <QTimer>
#include <future>
#include <gtest/gtest.h>

using namespace vokari;

namespace {

// An installer stand-in that records the files it is asked to open.
class FakeInstaller : public QDialog, public ui::FileOpeningWindow {
public:
    explicit FakeInstaller(QWidget* parent, QStringList& opened)
        : QDialog(parent), opened_(opened) {}
    void openFiles(const QStringList& files) override {
        opened_ += files;
        reject();
    }

private:
    QStringList& opened_;
};

} // namespace

// A second start hands its package over the socket; the running launcher opens the installer
// with it, or gives it to the installer already open.
TEST(PackageHandOver, TheRunningLauncherOpensThePackageInTheInstaller) {
    test::qtApp();
    test::TestPrefix prefix;
    prefix.installGame(2, "C:\\Games\\CFS2");
    ScriptedPrompt prompt;
    QStringList opened;
    std::vector<LauncherTool> asked;
    ui::VokariWindow launcher([&](LauncherTool tool, int16_t, QWidget* parent) {
        asked.push_back(tool);
        return std::make_unique<FakeInstaller>(parent, opened);
    });
    ASSERT_TRUE(launcher.load());

    ui::PackageHandOver running(prefix.root());
    ASSERT_TRUE(running.listen());
    QObject::connect(&running, &ui::PackageHandOver::packageReceived, &launcher,
                     [&](const QString& package) {
                         QTimer::singleShot(
                             0, &launcher, [&launcher, package] { launcher.openPackage(package); });
                     });

    const QString package = QStringLiteral("/tmp/a package\nwith a line break.zip");
    auto sent = std::async(std::launch::async,
                           [&] { return ui::PackageHandOver(prefix.root()).send(package); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 5000));
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(opened, QStringList{package});
    EXPECT_EQ(asked, std::vector<LauncherTool>{LauncherTool::Install});

    // No copy runs: the second start is told nobody answered.
    ui::PackageHandOver nobody(prefix.root() / "elsewhere");
    EXPECT_FALSE(nobody.send(package));
}
