#include "platform/error.h"

#include <cerrno>
#include <cstring>

namespace vokari {
namespace {

std::string ioMessage(FileAction action, const std::string& path, int errorNumber) {
    if (action == FileAction::Use && errorNumber == EWOULDBLOCK)
        return "another Vokari is working in " + path + "; try again when it is done";
    static const char* const verbs[] = {"cannot read ",   "cannot write ", "cannot create folder ",
                                        "cannot delete ", "cannot move ",  "cannot use "};
    std::string message = verbs[static_cast<int>(action)] + path;
    if (errorNumber != 0)
        message += ": " + systemReason(errorNumber);
    return message;
}

} // namespace

std::string systemReason(int err) {
    switch (err) {
    case EROFS:
        return "read-only";
    case ENOLINK:
        return "a link to a file that does not exist";
    default:
        return std::strerror(err);
    }
}

LockError::LockError(std::string folder)
    : IoError(FileAction::Use, std::move(folder), EWOULDBLOCK) {}

IoError::IoError(FileAction action, std::string path, int errorNumber)
    : Error(ioMessage(action, path, errorNumber)), action_(action), path_(std::move(path)),
      errorNumber_(errorNumber) {}

LineError::LineError(std::string path, int line, const std::string& detail)
    : FormatError(path + ", line " + std::to_string(line) + ": " + detail), path_(std::move(path)),
      line_(line) {}

CodePageError::CodePageError(std::string text, std::string character, std::string codePage)
    : ArgumentError("text cannot be converted to " + codePage + ": \"" + text + "\" (" + character +
                    ")"),
      text_(std::move(text)), character_(std::move(character)), codePage_(std::move(codePage)) {}

} // namespace vokari
