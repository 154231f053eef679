#include "installer/archiver.h"
#include "platform/error.h"
#include "support/archive_builders.h"
#include "support/fixtures.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace vokari {
namespace {

using test::buildLha;
using test::buildZip;
using test::sjis;

std::vector<ArchiveRecord> listed(ArchiveKind kind, const std::filesystem::path& file) {
    std::vector<ArchiveRecord> records;
    EXPECT_TRUE(archiverFor(kind).list(file.string(), records));
    return records;
}

// Data of the entry at `index`, or the reason it could not be read.
std::string dataOf(ArchiveKind kind, const std::filesystem::path& file, size_t wanted) {
    auto reader = archiverFor(kind).open(file.string());
    size_t index = 0;
    while (reader->next(index)) {
        if (index != wanted)
            continue;
        std::string data;
        try {
            reader->readData([&](const char* p, size_t n) { data.append(p, n); });
        } catch (const EntryError& e) {
            return std::string("error: ") + e.what();
        }
        return data;
    }
    return "missing";
}

TEST(ZipArchiver, ListsTheRecordFactsAndNames) {
    test::TempDir dir;
    test::ZipItem folder{.name = "P51D/", .data = "", .dosAttributes = 0x10};
    test::ZipItem cfg{.name = "P51D/aircraft.cfg", .data = "[fltsim.0]\r\n", .dosAttributes = 0x21};
    test::ZipItem kanji{.name = sjis("機体/ソ表.txt"), .data = "sjis"}; // 0x5C trail bytes
    test::ZipItem flagged{.name = "ユニ/é.txt", .data = "utf8", .utf8 = true};
    test::ZipItem backslash{.name = "old\\packer\\x.gau", .data = "bs"};
    test::ZipItem broken{.name = "\xFF\xFE.txt", .data = "?"};
    test::writeFile(dir / "p.zip", buildZip({folder, cfg, kanji, flagged, backslash, broken}));

    const auto r = listed(ArchiveKind::Zip, dir / "p.zip");
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(r[0].path, "P51D/");
    EXPECT_EQ(r[0].type, EntryType::Folder);
    EXPECT_EQ(r[0].attributes, "---D-");
    EXPECT_EQ(r[1].path, "P51D/aircraft.cfg");
    EXPECT_EQ(r[1].originalSize, 12u);
    EXPECT_EQ(r[1].compressedSize, 12u);
    EXPECT_EQ(r[1].ratio, 1000);
    EXPECT_EQ(r[1].crc, test::crc32Of("[fltsim.0]\r\n"));
    EXPECT_EQ(r[1].method, "Stored");
    EXPECT_EQ(r[1].attributes, "R---A");
    EXPECT_EQ(r[1].dosDate, cfg.dosDate);
    EXPECT_EQ(r[1].dosTime, cfg.dosTime);
    EXPECT_EQ(r[2].path, "機体/ソ表.txt");
    EXPECT_EQ(r[3].path, "ユニ/é.txt");
    EXPECT_EQ(r[4].path, "old/packer/x.gau");
    EXPECT_EQ(r[5].path, "\uFFFD\uFFFD.txt"); // listed, never dropped
    EXPECT_EQ(dataOf(ArchiveKind::Zip, dir / "p.zip", 2), "sjis");
    EXPECT_EQ(dataOf(ArchiveKind::Zip, dir / "p.zip", 4), "bs");
}

TEST(ZipArchiver, ReadsSelfExtractingFilesAndRefusesOthers) {
    test::TempDir dir;
    const std::string zip =
        buildZip({{.name = "a.txt", .data = "alpha"}, {.name = "b.txt", .data = "beta"}});
    test::writeFile(dir / "sfx.exe", test::exeStub() + zip); // offsets not corrected
    const auto r = listed(ArchiveKind::Zip, dir / "sfx.exe");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1].crc, test::crc32Of("beta"));
    EXPECT_EQ(dataOf(ArchiveKind::Zip, dir / "sfx.exe", 1), "beta");

    test::writeFile(dir / "plain.exe", test::exeStub());
    std::vector<ArchiveRecord> none;
    EXPECT_FALSE(archiverFor(ArchiveKind::Zip).list((dir / "plain.exe").string(), none));
    EXPECT_FALSE(archiverFor(ArchiveKind::Zip).list((dir / "missing.zip").string(), none));
    EXPECT_TRUE(none.empty());
}

TEST(ZipArchiver, ReportsLinksAndDamagedData) {
    test::TempDir dir;
    std::string zip = buildZip({{.name = "link.gau", .data = "/etc/passwd", .unixMode = 0120777},
                                {.name = "good.gau", .data = "good data"},
                                {.name = "bad.gau", .data = "bad data"},
                                {.name = "imploded.gau", .data = "xx", .method = 6}});
    // Spoil the stored data of the last entry: its CRC no longer matches.
    zip[zip.find("bad data")] = 'B';
    test::writeFile(dir / "p.zip", zip);
    const auto r = listed(ArchiveKind::Zip, dir / "p.zip");
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].type, EntryType::Symlink);
    EXPECT_EQ(r[3].method, "Implode");
    EXPECT_EQ(dataOf(ArchiveKind::Zip, dir / "p.zip", 1), "good data");
    EXPECT_EQ(dataOf(ArchiveKind::Zip, dir / "p.zip", 2).rfind("error:", 0), 0u);
    EXPECT_EQ(dataOf(ArchiveKind::Zip, dir / "p.zip", 3).rfind("error:", 0), 0u); // not decoded
}

TEST(ZipArchiver, NamesEndAtTheirFirstZeroByteAndEmptyNamesAreListedAsNameless) {
    test::TempDir dir;
    const std::vector<test::ZipItem> items = {{.name = std::string("a.gau\0.exe", 10), .data = "a"},
                                              {.name = "", .data = "no name"},
                                              {.name = std::string("\0evil.gau", 9), .data = "e"},
                                              {.name = "b.gau", .data = "b"}};
    // Read by the directory reader, and by libarchive when the entry count does not add up.
    test::writeFile(dir / "p.zip", buildZip(items));
    test::writeFile(dir / "odd-count.zip", buildZip(items, 1));
    for (const char* file : {"p.zip", "odd-count.zip"}) {
        const auto r = listed(ArchiveKind::Zip, dir / file);
        ASSERT_EQ(r.size(), 4u) << file;
        EXPECT_EQ(r[0].path, "a.gau") << file;
        EXPECT_EQ(r[1].type, EntryType::Nameless) << file;
        EXPECT_EQ(r[1].path, "(entry 2 has no name)") << file;
        EXPECT_EQ(r[2].type, EntryType::Nameless) << file;
        EXPECT_EQ(r[3].path, "b.gau") << file;
    }
}

TEST(ZipArchiver, ListsZip64ArchivesThroughLibarchive) {
    if (std::system("command -v zip >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "zip not installed";
    test::TempDir dir;
    test::writeFile(dir / "src" / "P51D" / "aircraft.cfg", "[fltsim.0]\r\n");
    test::writeFile(dir / "src" / "readme.txt", "read me");
    const std::string command =
        "cd '" + (dir / "src").string() + "' && zip -q -fz -r ../z64.zip P51D readme.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto r = listed(ArchiveKind::Zip, dir / "z64.zip");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].path, "P51D/");
    EXPECT_EQ(r[0].type, EntryType::Folder);
    EXPECT_EQ(r[1].path, "P51D/aircraft.cfg");
    EXPECT_EQ(r[1].originalSize, 12u);
    EXPECT_EQ(dataOf(ArchiveKind::Zip, dir / "z64.zip", 2), "read me");
}

TEST(LhaArchiver, ListsNamesAsPackedWithTheirFacts) {
    test::TempDir dir;
    // Level 0: backslashes and a CP932 name whose second bytes are 0x5C; all capitals kept.
    test::LhaItem kanji{.name = sjis("ソフト\\表示.TXT"), .data = "kanji"};
    test::LhaItem upper{.name = "P51D\\AIRCRAFT.CFG", .data = "cfg"};
    test::LhaItem escape{.name = "..\\..\\evil.gau", .data = "evil"};
    test::LhaItem level2{
        .name = "x.mdl", .data = "model", .level = 2, .folder = std::string("P51D\xFFmodel", 10)};
    test::writeFile(dir / "p.lzh", buildLha({kanji, upper, escape, level2}));

    const auto r = listed(ArchiveKind::Lha, dir / "p.lzh");
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].path, "ソフト/表示.TXT");
    EXPECT_EQ(r[1].path, "P51D/AIRCRAFT.CFG");
    EXPECT_EQ(r[2].path, "../../evil.gau");
    EXPECT_EQ(r[3].path, "P51D/model/x.mdl");
    EXPECT_EQ(r[1].method, "-lh0-");
    EXPECT_EQ(r[1].originalSize, 3u);
    EXPECT_EQ(r[1].ratio, 1000);
    EXPECT_EQ(r[1].dosDate, (20 << 9) | (5 << 5) | 17);
    EXPECT_EQ(r[1].dosTime, (13 << 11) | (45 << 5) | 10);
    EXPECT_EQ(r[1].attributes, "----A");
    EXPECT_EQ(dataOf(ArchiveKind::Lha, dir / "p.lzh", 0), "kanji");
    EXPECT_EQ(dataOf(ArchiveKind::Lha, dir / "p.lzh", 3), "model");
}

TEST(LhaArchiver, ReadsSelfExtractingFilesAndReportsUndecodableEntries) {
    test::TempDir dir;
    const std::string lha = buildLha({{.name = "a.txt", .data = "alpha"},
                                      {.name = "b.dat", .data = "zz", .method = "-lh9-"},
                                      {.name = "c.txt", .data = "gamma", .badCrc = true},
                                      {.name = "d.txt", .data = "delta"}});
    test::writeFile(dir / "sfx.exe", test::exeStub(30000) + lha);
    const auto r = listed(ArchiveKind::Lha, dir / "sfx.exe");
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(dataOf(ArchiveKind::Lha, dir / "sfx.exe", 0), "alpha");
    EXPECT_EQ(dataOf(ArchiveKind::Lha, dir / "sfx.exe", 1),
              "error: cannot decode the method -lh9-");
    EXPECT_EQ(dataOf(ArchiveKind::Lha, dir / "sfx.exe", 2), "error: CRC error");
    EXPECT_EQ(dataOf(ArchiveKind::Lha, dir / "sfx.exe", 3), "delta");

    // A header spoiled after the first entry: the listing does not pass for complete.
    std::string damaged = lha;
    damaged[damaged.find("b.dat") - 1] ^= 0x55; // the name length byte
    test::writeFile(dir / "damaged.lzh", damaged);
    std::vector<ArchiveRecord> records;
    EXPECT_THROW(archiverFor(ArchiveKind::Lha).list((dir / "damaged.lzh").string(), records),
                 FormatError);
    // Cut short right after a header: the data is missing, the method is known.
    test::writeFile(dir / "cut.lzh", lha.substr(0, lha.find("a.txt") + 7));
    EXPECT_EQ(dataOf(ArchiveKind::Lha, dir / "cut.lzh", 0),
              "error: data ends early (0 of 5 bytes)");
    test::writeFile(dir / "text.lzh", "just some text, no archive");
    EXPECT_FALSE(archiverFor(ArchiveKind::Lha).list((dir / "text.lzh").string(), records));
}

TEST(LhaArchiver, DecodesCompressedArchivesOfTheLhaTool) {
    if (std::system("command -v jlha >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "jlha not installed";
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "gauge" + std::to_string(i % 37) + "=cfs2!Airspeed, 10, 20\r\n";
    test::writeFile(dir / "src" / "P51D" / "panel.cfg", text);
    const std::string command =
        "cd '" + (dir / "src").string() + "' && jlha a ../pkg.lzh P51D/panel.cfg >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto r = listed(ArchiveKind::Lha, dir / "pkg.lzh");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].path, "P51D/panel.cfg");
    EXPECT_EQ(r[0].method, "-lh5-");
    EXPECT_LT(r[0].ratio, 500);
    EXPECT_EQ(dataOf(ArchiveKind::Lha, dir / "pkg.lzh", 0), text);
}

} // namespace
} // namespace vokari
