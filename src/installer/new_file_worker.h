#pragma once

#include "platform/file_system.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vokari {

// Writes small new files whole under their temporary names on a thread of its own, in the
// order given, while the caller unpacks the next: the opening, writing, dating and closing of
// each file then costs the caller nothing. Naming them (and telling the journal) stays the
// caller's. A bounded amount of bytes waits.
class NewFileWorker {
public:
    // One file: its writer once written and closed, or why it could not be.
    struct Job {
        std::filesystem::path target;
        std::string bytes;
        int64_t mtime = 0;
        bool hashed = false;
        std::unique_ptr<platform::NewFileWriter> file;
        std::exception_ptr failure;
        bool done = false;
    };

    NewFileWorker();
    // Files not written yet are dropped; those written stay under their temporary names until
    // their jobs go (a writer never named removes its file).
    ~NewFileWorker();
    NewFileWorker(const NewFileWorker&) = delete;
    NewFileWorker& operator=(const NewFileWorker&) = delete;

    std::shared_ptr<Job> post(std::filesystem::path target, std::string bytes, int64_t mtime,
                              bool hashed);
    // Waits until `job` is done.
    void wait(const Job& job);

private:
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Job>> waiting_;
    size_t waitingBytes_ = 0;
    bool closing_ = false;
    std::thread thread_;
};

} // namespace vokari
