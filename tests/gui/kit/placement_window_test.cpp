#include "gui/kit/placement_window.h"
#include "platform/profile.h"
#include "support/fixtures.h"
#include "support/qt_app.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>

using namespace vokari;
using vokari::test::TestPrefix;

namespace {

class PlacementTest : public ::testing::Test {
protected:
    PlacementTest() { vokari::test::qtApp(); }
    void save(const char* key, const char* value) {
        platform::writeIniString("FrmTool", key, value, prefix.settingsFile().string());
    }
    static int pixels(double twips) {
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
        return static_cast<int>(std::lround(twips * dpi / 1440));
    }
    TestPrefix prefix;
};

TEST_F(PlacementTest, SavedPlacementComesBackUnchangedTimeAfterTime) {
    QWidget first;
    first.resize(410, 290);
    first.move(33, 47);
    ui::savePlacement(&first, QStringLiteral("FrmTool"));
    for (int round = 0; round < 3; ++round) {
        QWidget next;
        next.resize(100, 100);
        ui::restorePlacement(&next, QStringLiteral("FrmTool"), true);
        EXPECT_EQ(next.size(), QSize(410, 290)) << round;
        EXPECT_EQ(next.pos(), QPoint(33, 47)) << round;
        next.show();
        ui::savePlacement(&next, QStringLiteral("FrmTool"));
    }
}

TEST_F(PlacementTest, DefaultsAndUnusableValues) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    {
        QWidget w;
        ui::restorePlacement(&w, QStringLiteral("FrmTool"), true);
        EXPECT_EQ(w.size(), QSize(pixels(9720), pixels(7890)));
        EXPECT_NEAR(w.x(), (screen.width() - w.width()) / 2.0, 1);
        EXPECT_NEAR(w.y(), (screen.height() - w.height()) / 2.0, 1);
    }
    save("FORM_WIDTH", "wide");
    save("FORM_HEIGHT", "-5");
    save("FORM_TOP", "high");
    save("FORM_LEFT", "-3000");
    QWidget w;
    w.resize(321, 123);
    ui::restorePlacement(&w, QStringLiteral("FrmTool"), true);
    EXPECT_EQ(w.size(), QSize(321, 123)) << "a size that is no size keeps the design";
    EXPECT_EQ(w.y(), 0) << "a position that is no number counts as 0";
    EXPECT_EQ(w.x(), pixels(-3000)) << "off the screen is kept";
}

} // namespace
