#include "aircraft/stock_aircraft.h"

#include <algorithm>
#include <array>

namespace vokari {
namespace {

// As the games' own aircraft files spell them: ordinary spaces, full-width katakana.
constexpr std::array<std::string_view, 22> kFirstGameTitles = {
    "B17g",
    "B24j",
    "B25j",
    "メッサーシュミット Bf109E",
    "メッサーシュミット Bf109G",
    "Bf110",
    "C47",
    "Do17Z2",
    "フォッケウルフ Fw190A",
    "He111H",
    "ホーカー ハリケーン Mk I",
    "Ju87A",
    "Ju88a",
    "Mosquito",
    "P38",
    "P-47D サンダーボルト",
    "P-51D ムスタング",
    "ソッピーズ キャメル",
    "スピットファイア Mk I",
    "スピットファイア Mk IX",
    "Tempest",
    "V1",
};

constexpr std::array<std::string_view, 18> kSecondGameTitles = {
    "A6M2 Zero",       "A6M5 Zero",        "B-24D Liberator", "B-25D Mitchell",  "B5N2 Kate",
    "C-47 Skytrain",   "D3A1 Val",         "F4F-4 Wildcat",   "F4U-1A Corsair",  "F6F-3 Hellcat",
    "G4M2 Betty",      "Ki-43-IIb Oscar",  "N1K2-J George",   "P-38F Lightning", "P-39D Airacobra",
    "SBD-2 Dauntless", "TBD-1 Devastator", "TBF-1 Avenger",
};

template <size_t N>
bool contains(const std::array<std::string_view, N>& titles, std::string_view title) {
    return std::find(titles.begin(), titles.end(), title) != titles.end();
}

} // namespace

bool isStockAircraftTitle(int16_t version, std::string_view title) {
    switch (version) {
    case 1:
        return contains(kFirstGameTitles, title);
    case 2:
        return contains(kSecondGameTitles, title);
    default:
        return false;
    }
}

} // namespace vokari
