#pragma once

#include "platform/file_fingerprint.h"

#include <filesystem>
#include <functional>
#include <future>
#include <optional>

// The writers of platform/ tell an operation's observer (the change journal) of each change
// to a file or folder they make: before it is made, so a record exists whatever happens next,
// and after. An operation sets its observer for its own thread; writers with no observer
// set just write.
namespace vokari::platform {

class ChangeObserver {
public:
    virtual ~ChangeObserver() = default;
    // Before the file `host` is created where nothing was.
    virtual void beforeAdd(const std::filesystem::path& host) = 0;
    // Before the file (or link) `host` is replaced: a copy of it is kept.
    virtual void beforeReplace(const std::filesystem::path& host) = 0;
    // Before the file (or link) `host` is removed: a copy of it is kept.
    virtual void beforeRemove(const std::filesystem::path& host) = 0;
    // Before the folder `host` is created.
    virtual void beforeAddFolder(const std::filesystem::path& host) = 0;
    // After the change to `host` was made.
    virtual void made(const std::filesystem::path& host) = 0;
    // After the file `host` was made from bytes the writer hashed as it wrote them: the same as
    // made() without reading the file back.
    virtual void madeFile(const std::filesystem::path& host, const HashAndTime& written) {
        (void)written;
        made(host);
    }
    // After the change to `host` could not be made: it did not happen.
    virtual void failed(const std::filesystem::path& host) = 0;
    // Takes the whole folder `host` away, keeping it whole: 0 when it is kept (and gone from its
    // place), else the system's error number, and the folder stays where it is, whole.
    virtual int moveFolderAway(const std::filesystem::path& host) = 0;
};

// The observer of this thread's operation, or nothing.
ChangeObserver* changeObserver();

// After a writer's change to `host`: tells `observer`, when there is one, that the change was
// made (`err` 0; with the hash of what was written when the writer kept one) or that it failed.
void tellObserver(ChangeObserver* observer, const std::filesystem::path& host, int err,
                  const std::optional<HashAndTime>& written = std::nullopt);

// Sets the observer of this thread for its lifetime (the one before comes back after).
class ObserverScope {
public:
    explicit ObserverScope(ChangeObserver* observer);
    ~ObserverScope();
    ObserverScope(const ObserverScope&) = delete;
    ObserverScope& operator=(const ObserverScope&) = delete;

private:
    ChangeObserver* previous_;
};

// Runs `work` on a thread of its own that tells this thread's observer of its changes, as
// this thread's writers would: an operation's batch named while it goes on with the next.
// The observer must take changes from both threads at once.
std::future<void> runObserved(std::function<void()> work);

// Creates the missing folders of `host` (the folder itself and those above it), telling the
// observer of each before it is made. Returns 0 or the system's error number.
int createFoldersObserved(const std::filesystem::path& host);

} // namespace vokari::platform
