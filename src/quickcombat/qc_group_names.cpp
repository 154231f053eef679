#include "quickcombat/qc_group_names.h"

#include "platform/error.h"

#include <algorithm>
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

void QcGroupNames::take(const std::string& name) {
    if (const int n = generatedAliasNumber(name)) {
        // A group id is at most 32767, so no count can outgrow 16 bits.
        if (generated_.empty())
            generated_.resize(kLastNumber + 1);
        ++generated_[n];
        return;
    }
    ++counts_[name];
}

bool QcGroupNames::taken(const std::string& name) const {
    if (const int n = generatedAliasNumber(name))
        return !generated_.empty() && generated_[n] != 0;
    return counts_.count(name) != 0;
}

void QcGroupNames::release(const std::string& name) {
    if (const int n = generatedAliasNumber(name)) {
        if (generated_.empty() || generated_[n] == 0 || --generated_[n] > 0)
            return;
        firstMaybeFree_ = std::min(firstMaybeFree_, n);
        return;
    }
    const auto it = counts_.find(name);
    if (it == counts_.end() || --it->second > 0)
        return;
    counts_.erase(it);
}

std::string QcGroupNames::lowestFreeAlias() const {
    for (int n = firstMaybeFree_; n <= kLastNumber; ++n) {
        if (generated_.empty() || generated_[n] == 0) {
            firstMaybeFree_ = n;
            std::string alias = std::string(kPrefix) + "00000%";
            for (size_t digit = kPrefix.size() + 4; n > 0; --digit, n /= 10)
                alias[digit] = static_cast<char>('0' + n % 10);
            return alias;
        }
    }
    firstMaybeFree_ = kLastNumber + 1;
    throw Error("no free group alias is left: every number up to 32767 is taken");
}

} // namespace vokari
