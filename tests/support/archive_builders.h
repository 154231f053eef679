#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Small writers for test archives with exactly the bytes a case needs: raw CP932 names,
// backslashes, "..", links, self-extractor stubs. Data is stored uncompressed.
namespace vokari::test {

struct ZipItem {
    std::string name = {}; // raw bytes as stored
    std::string data = {};
    bool utf8 = false;     // the UTF-8 name flag
    uint32_t unixMode = 0; // made on Unix with this mode (S_IFLNK for a link); 0: made on DOS
    uint8_t dosAttributes = 0x20;
    uint16_t method = 0;                          // the data is stored as given whatever this says
    uint16_t dosDate = (20 << 9) | (5 << 5) | 17; // 2000-05-17
    uint16_t dosTime = (13 << 11) | (45 << 5) | 10;
    std::optional<uint32_t> declaredSize = {}; // original size in both headers; else data's
    std::optional<uint32_t> centralCrc = {};   // CRC in the central directory only
};
// `extraCount` is added to the entry count the directory's end record declares.
std::string buildZip(const std::vector<ZipItem>& items, uint16_t extraCount = 0);
// The raw deflate stream of `data`, for entries with method 8.
std::string rawDeflate(const std::string& data);

struct LhaItem {
    std::string name = {}; // raw bytes; level 0: "\" or "/" between folders, level 2: split below
    std::string data = {};
    std::string method = "-lh0-";
    int level = 0;           // 0 or 2
    std::string folder = {}; // level 2 only: raw folder, 0xFF between names
    bool badCrc = false;
    uint16_t unixMode = 0; // level 2 only: Unix permission header (a link with S_IFLNK)
};
std::string buildLha(const std::vector<LhaItem>& items);

// A stand-in for a self-extractor program in front of an archive.
std::string exeStub(size_t size = 4096);

uint32_t crc32Of(const std::string& data);

} // namespace vokari::test
