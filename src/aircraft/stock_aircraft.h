#pragma once

#include <cstdint>
#include <string_view>

namespace vokari {

// True when `title` is, exactly and with regard to case, the title of an aircraft that came
// with the game of `version` (1 or 2). Folder names play no part: players rename folders.
bool isStockAircraftTitle(int16_t version, std::string_view title);

} // namespace vokari
