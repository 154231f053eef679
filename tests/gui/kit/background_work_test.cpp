#include "gui/kit/background_work.h"
#include "platform/error.h"
#include "support/qt_app.h"

#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vokari::ui {
namespace {

class BackgroundWorkTest : public ::testing::Test {
protected:
    BackgroundWorkTest() { test::qtApp(); }
};

TEST_F(BackgroundWorkTest, HandsBackTheResultAfterOnlyTheNewestProgress) {
    BackgroundWork work;
    std::vector<std::string> seen;
    QObject::connect(
        &work, &BackgroundWork::progressed, [&](qint64 done, qint64 total, const QString& item) {
            seen.push_back(QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(item).toStdString());
        });
    std::atomic<bool> reported{false};
    std::optional<int> result;
    work.start(
        [&work, &reported] {
            for (int i = 1; i <= 1000; ++i)
                work.reportProgress(i, 1000, QString::number(i));
            reported = true;
            return 42;
        },
        [&](std::future<int> outcome) {
            seen.push_back("done");
            result = outcome.get();
        });
    EXPECT_TRUE(work.isRunning());
    // No event runs here, so all the reports wait for the window at once.
    while (!reported)
        QThread::yieldCurrentThread();
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }));
    EXPECT_EQ(result, 42);
    EXPECT_EQ(seen, (std::vector<std::string>{"1000/1000 1000", "done"}));
    EXPECT_FALSE(work.isRunning());
}

TEST_F(BackgroundWorkTest, RunRethrowsWhatTheJobThrewWhileTheEventLoopRuns) {
    BackgroundWork work;
    std::atomic<bool> timerFired{false};
    QTimer::singleShot(0, [&] { timerFired = true; });
    try {
        work.run([&timerFired]() -> int {
            while (!timerFired)
                QThread::yieldCurrentThread();
            throw IoError(FileAction::Write, "/g/cfs2.cfg", ENOSPC);
        });
        ADD_FAILURE() << "nothing thrown";
    } catch (const IoError& e) {
        EXPECT_EQ(e.action(), FileAction::Write);
        EXPECT_EQ(e.path(), "/g/cfs2.cfg");
        EXPECT_EQ(e.errorNumber(), ENOSPC);
    }
    EXPECT_FALSE(work.isRunning());
}

TEST_F(BackgroundWorkTest, TheJobSeesCancelBetweenItems) {
    // A job that reports items until it is cancelled, and says how many it did.
    const auto untilCancelled = [](BackgroundWork& work) {
        return [&work] {
            int items = 0;
            while (!work.isCancelled()) {
                work.reportProgress(++items, 0, QString());
                QThread::msleep(1);
            }
            return items;
        };
    };

    BackgroundWork work;
    QObject::connect(&work, &BackgroundWork::progressed, [&work] { work.cancel(); });
    std::optional<int> items;
    work.start(untilCancelled(work), [&](std::future<int> outcome) { items = outcome.get(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return items.has_value(); }));
    EXPECT_GE(items.value_or(0), 1);

    // Destroyed while running: the job is cancelled and waited for, and hands nothing over.
    auto doomed = std::make_unique<BackgroundWork>();
    bool handedOver = false;
    doomed->start(untilCancelled(*doomed), [&](std::future<int>) { handedOver = true; });
    doomed.reset();
    QTest::qWait(10);
    EXPECT_FALSE(handedOver);
}

} // namespace
} // namespace vokari::ui
