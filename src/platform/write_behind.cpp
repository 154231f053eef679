#include "platform/write_behind.h"

#include <utility>

namespace vokari::platform {
namespace {

constexpr size_t kMostWaiting = 2;

} // namespace

WriteBehind::WriteBehind(std::function<void(std::string_view)> write)
    : write_(std::move(write)), thread_([this] { run(); }) {}

WriteBehind::~WriteBehind() {
    stop(true);
}

void WriteBehind::put(std::string_view block) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < kMostWaiting || failure_; });
    if (failure_)
        std::rethrow_exception(failure_);
    std::string copy;
    if (!spare_.empty()) {
        copy = std::move(spare_.back());
        spare_.pop_back();
    }
    copy.assign(block);
    waiting_.push_back(std::move(copy));
    changed_.notify_all();
}

void WriteBehind::finish() {
    stop(false);
    if (failure_)
        std::rethrow_exception(failure_);
}

void WriteBehind::stop(bool dropWaiting) {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
        if (dropWaiting)
            waiting_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void WriteBehind::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return !waiting_.empty() || closing_; });
        if (waiting_.empty())
            return;
        std::string block = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        try {
            write_(block);
        } catch (...) {
            lock.lock();
            failure_ = std::current_exception();
            waiting_.clear();
            changed_.notify_all();
            return;
        }
        lock.lock();
        spare_.push_back(std::move(block));
        changed_.notify_all();
    }
}

} // namespace vokari::platform
