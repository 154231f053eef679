#pragma once

#include "common/keyed_collection.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace vokari {

// What the catalogue takes from an aircraft's panel file.
struct PanelFile {
    bool exists = false;
    std::string alias; // "alias" of [fltsim], as read
};

// Reads a panel file in one pass, front to back: the alias, and the gauge names of the sections
// Window00 to Window99, then VCockpit01 to VCockpit99, into `gauges` (each name once, compared
// without regard to case, in the order first met). A section's gauges run from gauge00 to the
// first value without "!" (a missing key stops it too); the first of a repeated section or key
// counts. One reader serves a whole catalogue, reusing its storage from panel to panel.
class PanelFileReader {
public:
    PanelFileReader();
    PanelFile read(std::string_view file, KeyedCollection<std::string>& gauges);

    static constexpr int kSlots = 200; // Window00-99 as 0-99, VCockpit01-99 as 101-199

private:
    static constexpr int16_t kNone = -1;
    struct Gauge {
        bool hasBang = false;
        std::string_view name; // the text before the first "!", in the file or in `decoded_`
    };
    struct Section {
        std::array<int16_t, 100> gauge; // index into `gauges_` by counter, or kNone
    };
    std::array<int16_t, kSlots> sectionAt_; // index into `sections_` by slot, or kNone
    std::vector<int> slots_;                // the slots met in this panel
    std::vector<Section> sections_;
    std::vector<Gauge> gauges_;
    std::deque<std::string> decoded_; // gauge values that were not ASCII
    std::string scratch_;
};

} // namespace vokari
