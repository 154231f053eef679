#include "quickcombat/qc_group_names.h"

#include "common/error.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace vokari {
namespace {

constexpr std::string_view kPrefix = "%VokariGrpOption";
constexpr int kLastNumber = std::numeric_limits<int16_t>::max();

} // namespace

int generatedAliasNumber(std::string_view name) {
    // Numbers up to 32767 are written with exactly five digits.
    if (name.size() != kPrefix.size() + 6 || name.substr(0, kPrefix.size()) != kPrefix ||
        name.back() != '%')
        return 0;
    int n = 0;
    for (char c : name.substr(kPrefix.size(), 5)) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n <= kLastNumber ? n : 0;
}

void QCGroupNames::take(const std::string& name) {
    ++counts_[name];
}

void QCGroupNames::release(const std::string& name) {
    const auto it = counts_.find(name);
    if (it == counts_.end() || --it->second > 0)
        return;
    counts_.erase(it);
    if (const int n = generatedAliasNumber(name))
        firstMaybeFree_ = std::min(firstMaybeFree_, n);
}

std::string QCGroupNames::lowestFreeAlias() const {
    char candidate[32];
    for (int n = firstMaybeFree_; n <= kLastNumber; ++n) {
        std::snprintf(candidate, sizeof candidate, "%%VokariGrpOption%05d%%", n);
        if (!counts_.count(candidate)) {
            firstMaybeFree_ = n;
            return candidate;
        }
    }
    firstMaybeFree_ = kLastNumber + 1;
    throw Error("no free group alias is left: every number up to 32767 is taken");
}

} // namespace vokari
