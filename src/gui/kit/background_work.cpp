#include "gui/kit/background_work.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>

namespace vokari::ui {

BackgroundWork::BackgroundWork(QObject* parent) : QObject(parent) {}

BackgroundWork::~BackgroundWork() {
    if (!thread_)
        return;
    // What the job would hand over has nobody to go to; its reports die with this object.
    cancel();
    thread_->wait();
    delete thread_;
}

void BackgroundWork::launch(std::function<void()> job, std::function<void()> whenDone) {
    Q_ASSERT(!thread_);
    cancelled_ = false;
    whenDone_ = std::move(whenDone);
    thread_ = QThread::create(std::move(job));
    // Sent from the job's thread, so queued behind the job's last report.
    connect(thread_, &QThread::finished, this, &BackgroundWork::end);
    thread_->start();
}

void BackgroundWork::waitFor(std::function<void()> job) {
    QEventLoop loop;
    launch(std::move(job), [&loop] { loop.quit(); });
    loop.exec();
    if (thread_) {
        // The application is quitting and its event loops no longer run; the caller's locals
        // must still outlive the job.
        thread_->wait();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

void BackgroundWork::end() {
    QThread* thread = std::exchange(thread_, nullptr);
    thread->wait();
    delete thread;
    deliverProgress();
    // Last: handing over may end the window, and this object with it.
    if (const std::function<void()> whenDone = std::exchange(whenDone_, {}))
        whenDone();
}

void BackgroundWork::reportProgress(qint64 done, qint64 total, const QString& item) {
    std::lock_guard lock(progressMutex_);
    done_ = done;
    total_ = total;
    item_ = item;
    progressPending_ = true;
    if (!std::exchange(deliveryQueued_, true))
        QMetaObject::invokeMethod(this, &BackgroundWork::deliverProgress, Qt::QueuedConnection);
}

void BackgroundWork::deliverProgress() {
    qint64 done = 0;
    qint64 total = 0;
    QString item;
    {
        std::lock_guard lock(progressMutex_);
        deliveryQueued_ = false;
        if (!std::exchange(progressPending_, false))
            return;
        done = done_;
        total = total_;
        item = std::move(item_);
    }
    // Outside the lock: a window may run events while it shows this (a modal progress dialog).
    emit progressed(done, total, item);
}

} // namespace vokari::ui
