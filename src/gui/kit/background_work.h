#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>

class QThread;

namespace vokari::ui {

// Long work of a window, run on a thread of its own while the window's event loop goes on: the
// window repaints and takes input, so it refuses its commands and its closing while
// isRunning(). One job at a time. The job reports how far it is with reportProgress() and polls
// isCancelled() between items; its result, or what it threw, comes back to the window's
// thread whole.
//
// Destroying the work cancels the job and waits for it: make it a member declared after the
// data the job uses, so that it goes first.
class BackgroundWork : public QObject {
    Q_OBJECT

public:
    explicit BackgroundWork(QObject* parent = nullptr);
    ~BackgroundWork() override;

    bool isRunning() const { return thread_ != nullptr; }

    // Runs `job` and waits for it in an event loop of its own; returns what it returned, or
    // rethrows what it threw. The job may use the caller's locals: they outlive it.
    template <typename Job> auto run(Job job) {
        std::packaged_task<std::invoke_result_t<Job&>()> task(std::move(job));
        auto result = task.get_future();
        waitFor([&task] { task(); });
        return result.get();
    }

    // Starts `job` and returns; `done` gets a ready std::future of its result on the window's
    // thread, whose get() rethrows what the job threw. The job must own what it uses.
    template <typename Job, typename Done> void start(Job job, Done done) {
        using Result = std::invoke_result_t<Job&>;
        auto task = std::make_shared<std::packaged_task<Result()>>(std::move(job));
        auto result = std::make_shared<std::future<Result>>(task->get_future());
        launch([task] { (*task)(); },
               [result, done = std::move(done)] { done(std::move(*result)); });
    }

    // The window's side: the job stops after its current item.
    void cancel() { cancelled_ = true; }
    // The job's side.
    bool isCancelled() const { return cancelled_; }
    // For core operations that poll a flag of their own.
    const std::atomic<bool>& cancelFlag() const { return cancelled_; }

    // From the job: `done` of `total` items, the next being `item`. Only the newest reaches the
    // window, so a job may report every item without flooding its event loop.
    void reportProgress(qint64 done, qint64 total, const QString& item);

signals:
    // On the window's thread; the newest report is also given before the job's result.
    void progressed(qint64 done, qint64 total, const QString& item);

private:
    void launch(std::function<void()> job, std::function<void()> whenDone);
    void waitFor(std::function<void()> job);
    void end();
    void deliverProgress();

    QThread* thread_ = nullptr;
    std::function<void()> whenDone_;
    std::atomic<bool> cancelled_{false};

    // The newest report, taken by the window's thread.
    std::mutex progressMutex_;
    bool progressPending_ = false;
    bool deliveryQueued_ = false;
    qint64 done_ = 0;
    qint64 total_ = 0;
    QString item_;
};

} // namespace vokari::ui
