#pragma once

#include <ctime>

namespace vokari::platform {

// `time` broken down in the system's time zone, safe to call from any thread; false when it
// cannot be told.
bool localTime(std::time_t time, std::tm& local);

} // namespace vokari::platform
