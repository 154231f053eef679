#pragma once

#include <stdexcept>
#include <string>

// The errors the core raises carry what a window needs to word them in its own language: what
// failed, on which file (named as the user finds it on this system), the system's error number,
// the text or line at fault. what() is the same in English, for the command line.
namespace vokari {

// The one family of errors the core raises; windows turn them into messages.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What was being done to a file or folder when it failed.
enum class FileAction { Read, Write, CreateFolder, Delete, Move, Use };

// A file or folder could not be read, written, created or removed.
class IoError : public Error {
public:
    // A message alone, for failures that name no file.
    using Error::Error;
    // `path`: the host path here (the path the user finds the file by); `errorNumber`: errno,
    // 0 when the system gave none.
    IoError(FileAction action, std::string path, int errorNumber);

    FileAction action() const { return action_; }
    const std::string& path() const { return path_; } // empty: the message says it all
    int errorNumber() const { return errorNumber_; }

private:
    FileAction action_ = FileAction::Use;
    std::string path_;
    int errorNumber_ = 0;
};

// Another Vokari is working on the same folder and did not let go in time.
class LockError : public IoError {
public:
    // `folder`: the host path of the folder both work on.
    explicit LockError(std::string folder);
};

// The system's reason for error number `err`, in English words a player can act on.
std::string systemReason(int err);

// A file's content is not what its reader expects.
class FormatError : public Error {
public:
    using Error::Error;
};

// One line of a file cannot be read.
class LineError : public FormatError {
public:
    // `path` as IoError's; `line` counts from 1; `detail` says what is wrong, in English.
    LineError(std::string path, int line, const std::string& detail);
    const std::string& path() const { return path_; }
    int line() const { return line_; }

private:
    std::string path_;
    int line_;
};

// A keyed collection was asked for a key it does not hold, or given one twice.
class KeyError : public Error {
public:
    using Error::Error;
};

// A caller passed a value the operation refuses.
class ArgumentError : public Error {
public:
    using Error::Error;
};

// Text that the games' code page cannot hold (a name typed with characters outside CP932).
class CodePageError : public ArgumentError {
public:
    // `text` and `character` (the first that has no form) in UTF-8.
    CodePageError(std::string text, std::string character, std::string codePage);
    const std::string& text() const { return text_; }
    const std::string& character() const { return character_; }
    const std::string& codePage() const { return codePage_; }

private:
    std::string text_;
    std::string character_;
    std::string codePage_;
};

} // namespace vokari
