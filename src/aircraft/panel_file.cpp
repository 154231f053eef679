#include "aircraft/panel_file.h"

#include "platform/profile.h"
#include "platform/text.h"

#include <algorithm>
#include <optional>

namespace vokari {
namespace {

constexpr int kNotNumbered = -1;

// The counter of "Window07", "gauge12" (`stem` in lower case, the name in any), or
// kNotNumbered. Asked of every line of a panel.
inline int numberOf(std::string_view name, std::string_view stem) {
    if (name.size() != stem.size() + 2)
        return kNotNumbered;
    for (size_t i = 0; i < stem.size(); ++i)
        if (asciiLower(name[i]) != stem[i])
            return kNotNumbered;
    const char tens = name[stem.size()];
    const char ones = name[stem.size() + 1];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9')
        return kNotNumbered;
    return (tens - '0') * 10 + (ones - '0');
}

constexpr int kNoSlot = -1;
constexpr int kAliasSlot = PanelFileReader::kSlots;

// Where a section's lines go: a gauge section's slot, the alias section, or nowhere.
int slotOf(std::string_view section) {
    if (const int n = numberOf(section, "window"); n != kNotNumbered)
        return n;
    if (const int n = numberOf(section, "vcockpit"); n > 0)
        return 100 + n;
    if (equalsNoCase(section, "fltsim"))
        return kAliasSlot;
    return kNoSlot;
}

// A panel names a handful of gauge files hundreds of times: a look along the few names met so
// far is cheaper than the collection's index.
void addGauge(KeyedCollection<std::string>& gauges, std::string_view gauge) {
    if (gauges.count() <= 16) {
        for (const auto& known : gauges)
            if (known.key == gauge || equalsNoCase(known.key, gauge))
                return;
    } else if (gauges.keyExists(gauge)) {
        return;
    }
    gauges.add(gauge, std::string(gauge));
}

} // namespace

PanelFileReader::PanelFileReader() {
    sectionAt_.fill(kNone);
}

PanelFile PanelFileReader::read(std::string_view file, KeyedCollection<std::string>& gauges) {
    PanelFile panel;
    platform::ProfileReader reader(file);
    panel.exists = reader.exists();
    for (const int slot : slots_)
        sectionAt_[static_cast<size_t>(slot)] = kNone;
    slots_.clear();
    sections_.clear();
    gauges_.clear();
    decoded_.clear();
    bool aliasSeen = false;
    bool aliasSectionSeen = false;
    Section* section = nullptr; // the gauge section being read
    bool inAlias = false;
    while (reader.next()) {
        const std::string_view name = reader.name();
        if (reader.isSection()) {
            // Only the first section of a name is read.
            section = nullptr;
            inAlias = false;
            const int slot = slotOf(name);
            if (slot == kAliasSlot) {
                inAlias = !aliasSectionSeen;
                aliasSectionSeen = true;
            } else if (slot != kNoSlot && sectionAt_[static_cast<size_t>(slot)] == kNone) {
                sectionAt_[static_cast<size_t>(slot)] = static_cast<int16_t>(sections_.size());
                slots_.push_back(slot);
                section = &sections_.emplace_back();
                section->gauge.fill(kNone);
            }
            continue;
        }
        if (inAlias && !aliasSeen && equalsNoCase(name, "alias")) {
            panel.alias = reader.value(scratch_);
            aliasSeen = true;
        }
        if (!section)
            continue;
        const int counter = numberOf(name, "gauge");
        if (counter == kNotNumbered || section->gauge[static_cast<size_t>(counter)] != kNone)
            continue; // the first of a repeated key counts
        const std::optional<std::string_view> gaugeName = reader.valueBefore('!', scratch_);
        Gauge& gauge = gauges_.emplace_back();
        gauge.hasBang = gaugeName.has_value();
        if (gaugeName)
            gauge.name = gaugeName->data() == scratch_.data() ? decoded_.emplace_back(*gaugeName)
                                                              : *gaugeName;
        section->gauge[static_cast<size_t>(counter)] = static_cast<int16_t>(gauges_.size() - 1);
    }

    std::sort(slots_.begin(), slots_.end());
    for (const int slot : slots_) {
        for (const int16_t index : sections_[static_cast<size_t>(sectionAt_[slot])].gauge) {
            if (index == kNone || !gauges_[static_cast<size_t>(index)].hasBang)
                break;
            addGauge(gauges, gauges_[static_cast<size_t>(index)].name);
        }
    }
    return panel;
}

} // namespace vokari
