#include "installer/new_file_worker.h"

#include <utility>

namespace vokari {
namespace {

constexpr size_t kMostWaitingBytes = size_t(16) << 20;
constexpr size_t kMostWaitingFiles = 512;

} // namespace

NewFileWorker::NewFileWorker() : thread_([this] { run(); }) {}

NewFileWorker::~NewFileWorker() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
        waiting_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

std::shared_ptr<NewFileWorker::Job>
NewFileWorker::post(std::filesystem::path target, std::string bytes, int64_t mtime, bool hashed) {
    auto job = std::make_shared<Job>();
    job->target = std::move(target);
    job->bytes = std::move(bytes);
    job->mtime = mtime;
    job->hashed = hashed;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] {
        return waiting_.empty() ||
               (waitingBytes_ < kMostWaitingBytes && waiting_.size() < kMostWaitingFiles);
    });
    waitingBytes_ += job->bytes.size();
    waiting_.push_back(job);
    changed_.notify_all();
    return job;
}

void NewFileWorker::wait(const Job& job) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return job.done; });
}

void NewFileWorker::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return !waiting_.empty() || closing_; });
        if (closing_)
            return;
        const std::shared_ptr<Job> job = waiting_.front();
        lock.unlock();
        std::unique_ptr<platform::NewFileWriter> file;
        std::exception_ptr failure;
        try {
            file = std::make_unique<platform::NewFileWriter>(job->target, job->hashed);
            file->write(job->bytes);
            file->finish(job->mtime);
        } catch (...) {
            file.reset(); // its temporary file goes
            failure = std::current_exception();
        }
        lock.lock();
        job->file = std::move(file);
        job->failure = failure;
        job->done = true;
        waitingBytes_ -= job->bytes.size();
        job->bytes = std::string();
        if (!waiting_.empty() && waiting_.front() == job)
            waiting_.pop_front();
        changed_.notify_all();
    }
}

} // namespace vokari
