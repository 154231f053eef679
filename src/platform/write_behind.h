#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vokari::platform {

// Writes the blocks of a large file on a thread of its own while the caller puts the next one
// together, so that the file costs the slower of the two rather than both. At most two blocks
// wait; a failure to write is thrown from the next put() or from finish(), and the blocks
// after it are not written.
class WriteBehind {
public:
    explicit WriteBehind(std::function<void(std::string_view)> write);
    // Blocks not yet written are dropped: the caller is giving up the file.
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Hands over a copy of the block.
    void put(std::string_view block);
    // Waits until every block is written.
    void finish();

private:
    void run();
    void stop(bool dropWaiting);

    std::function<void(std::string_view)> write_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> waiting_;
    std::vector<std::string> spare_; // written blocks, whose room the next ones take
    bool closing_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

} // namespace vokari::platform
