// Opening the aircraft enabler on a game of 20,000 aircraft, offscreen: the time until the
// window is shown with every aircraft in its list, against reading the catalogue alone (the
// floor: the window reads the same catalogue before it fills the list). Then the list alone:
// filling it again from the catalogue read, and drawing it. Prints the median of each and the
// ratios, so what the list costs shows beside what the window has to read.
//
// usage: enabler_list_bench [AIRCRAFT_COUNT] [ROUNDS]   (run with QT_QPA_PLATFORM=offscreen)
#include "aircraft/aircraft_list.h"
#include "bench_package.h"
#include "gui/aircraft/aircraft_enabler_window.h"
#include "platform/codepage.h"
#include "platform/host_paths.h"
#include "platform/profile.h"
#include "platform/registry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using bench::writeFile;

namespace {

// Half of the titles are Japanese, as most of the players' add-ons are; one in seven borrows
// another aircraft's sound, which the list shows on the title.
void buildGame(const fs::path& prefix, int count) {
    fs::create_directories(prefix / "drive_c");
    fs::create_directories(prefix / "dosdevices");
    fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
    writeFile(prefix / "system.reg",
              "WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Microsoft Games\\\\Combat "
              "Flight Simulator\\\\2.0] 1700000000\n\"InstalledTo\"=\"C:\\\\Games\\\\CFS2\"\n");
    const fs::path root = prefix / "drive_c" / "Games" / "CFS2" / "Aircraft";
    const std::string japanese = vokari::platform::utf8ToAnsi("合成機 零戦 ");
    for (int n = 0; n < count; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "SYN%05d", n);
        const fs::path folder = root / name;
        const std::string title =
            (n % 2 ? japanese : std::string("Synthetic ")) + std::to_string(n);
        writeFile(folder / (n % 10 == 9 ? "aircraft.cfg.rst" : "aircraft.cfg"),
                  "[fltsim.0]\r\ntitle=" + title + "\r\nsim=syn" + std::to_string(n) +
                      "\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=\r\n\r\n[General]\r\n"
                      "atc_type=SYN\r\n");
        if (n % 7 == 3)
            writeFile(folder / "sound" / "sound.cfg", "[fltsim]\r\nalias=SYN00000\\sound\r\n");
    }
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    std::string pattern = (fs::temp_directory_path() / "vokari-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::fprintf(stderr, "enabler_list_bench: cannot create a temporary folder\n");
        return 1;
    }
    const fs::path prefix = fs::canonical(pattern);
    // Settings, temporary files and the change journal stay inside the bench's folder.
    ::setenv("VOKARI_INI", (prefix / "VOKARI.INI").c_str(), 1);
    ::setenv("TEMP", (prefix / "temp").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (prefix / "data").c_str(), 1);
    fs::create_directories(prefix / "temp");
    QApplication app(argc, argv);
    int status = 0;
    try {
        buildGame(prefix, count);
        vokari::platform::setWinePrefixOverride(prefix);
        vokari::platform::setRegistrySource(nullptr);

        size_t listed = 0;
        auto catalogueRun = [&] {
            vokari::platform::clearProfileCache();
            vokari::AircraftList list;
            list.setVersion(2);
            list.readAircrafts(true, true);
            listed = list.aircraftList.count();
        };
        int rows = 0;
        double fill = 0;
        auto windowRun = [&] {
            vokari::platform::clearProfileCache();
            vokari::ui::AircraftEnablerWindow window(2);
            window.show();
            if (!QTest::qWaitForWindowExposed(&window))
                throw std::runtime_error("the window was not shown");
            QApplication::processEvents();
            auto* list = window.findChild<QAbstractItemView*>(QStringLiteral("LstAircraft"));
            if (!list)
                throw std::runtime_error("the window has no list");
            rows = list->model()->rowCount();
            const auto start = std::chrono::steady_clock::now();
            window.setAircrafts();
            list->viewport()->repaint();
            QApplication::processEvents();
            fill = seconds(std::chrono::steady_clock::now() - start);
        };

        catalogueRun(); // warm the system's cache
        windowRun();
        std::vector<double> catalogueTimes;
        std::vector<double> windowTimes;
        std::vector<double> fillTimes;
        for (int r = 0; r < rounds; ++r) {
            auto t0 = std::chrono::steady_clock::now();
            catalogueRun();
            auto t1 = std::chrono::steady_clock::now();
            windowRun();
            auto t2 = std::chrono::steady_clock::now();
            catalogueTimes.push_back(seconds(t1 - t0));
            windowTimes.push_back(seconds(t2 - t1) - fill);
            fillTimes.push_back(fill);
        }
        if (listed != static_cast<size_t>(count) || rows != count)
            throw std::runtime_error("listed " + std::to_string(listed) + " aircraft and " +
                                     std::to_string(rows) + " rows of " + std::to_string(count));
        const double floor = median(catalogueTimes);
        const double window = median(windowTimes);
        const double refill = median(fillTimes);
        std::printf("aircraft enabler: %d aircraft, median of %d\n", count, rounds);
        std::printf("  floor (read the catalogue):    %8.1f ms\n", floor * 1e3);
        std::printf("  window shown, list filled:     %8.1f ms\n", window * 1e3);
        std::printf("  list filled again and drawn:   %8.1f ms\n", refill * 1e3);
        std::printf("  ratios: window %.2fx, list %.3fx of the floor\n", window / floor,
                    refill / floor);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "enabler_list_bench: %s\n", e.what());
        status = 1;
    }
    vokari::platform::setWinePrefixOverride(std::nullopt);
    std::error_code ec;
    fs::remove_all(prefix, ec);
    return status;
}
