#include "platform/console.h"

namespace vokari::platform {

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void useUtf8Streams() {} // POSIX streams pass bytes as they are

} // namespace vokari::platform
