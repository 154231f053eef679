// For the kill loop: saves a game file over and over, alternating between two versions, until
// it is killed; or checks that the file is one of the two versions, whole.
//   save_loop FOLDER profile|qc init|run|check
#include "platform/error.h"
#include "platform/profile.h"
#include "quickcombat/qc_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;
using namespace vokari;

namespace {

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The profile file with `value` in [MAIN] key0, as the writer edits it in place.
std::string profileText(char value) {
    std::string text = "[MAIN]\r\nkey0=" + std::string(250, value) + "\r\n";
    for (int i = 1; i < 2000; ++i)
        text += "key" + std::to_string(i) + "=" + std::string(30, 'x') + "\r\n";
    return text;
}

// A quick-combat document whose size depends on `version`.
std::unique_ptr<QcGroups> qcDocument(int version) {
    auto doc = std::make_unique<QcGroups>();
    for (int g = 0; g < 50 + version * 50; ++g) {
        QcGroup& group = doc->addGroup();
        for (int p = 0; p < 5; ++p)
            doc->addPlane(group.groupId(), "Plane" + std::to_string(p), "Name" + std::to_string(p));
    }
    return doc;
}

int run(const fs::path& folder, const std::string& mode, const std::string& step) {
    const fs::path cfg = folder / "game.cfg";
    const std::string qcFolder = folder.string() + "/";
    const std::string qcName = "qc_plane.qcb";
    if (mode == "profile") {
        if (step == "init") {
            std::ofstream(cfg, std::ios::binary) << profileText('A');
        } else if (step == "run") {
            for (int i = 0;; ++i)
                platform::writeIniString("MAIN", "key0", std::string(250, i % 2 ? 'A' : 'B'),
                                         cfg.string());
        } else {
            const std::string now = readAll(cfg);
            return now == profileText('A') || now == profileText('B') ? 0 : 1;
        }
    } else {
        if (step == "init") {
            writeQCFile(*qcDocument(0), qcFolder, qcName);
        } else if (step == "run") {
            for (int i = 0;; ++i)
                writeQCFile(*qcDocument(1 + i % 2), qcFolder, qcName);
        } else {
            // The bytes each version is written as, written aside.
            const fs::path aside = folder / "aside";
            std::string versions[3];
            for (int v = 0; v < 3; ++v) {
                fs::remove_all(aside);
                fs::create_directories(aside);
                writeQCFile(*qcDocument(v), aside.string() + "/", qcName);
                versions[v] = readAll(aside / qcName);
            }
            const std::string now = readAll(folder / qcName);
            if (now != versions[0] && now != versions[1] && now != versions[2])
                return 1;
            // The backup, once made, is the file as it was before the first save.
            const fs::path backup = folder / (qcName + ".bak");
            return !fs::exists(backup) || readAll(backup) == versions[0] ? 0 : 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: save_loop FOLDER profile|qc init|run|check\n");
        return 2;
    }
    try {
        return run(argv[1], argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "save_loop: %s\n", e.what());
        return 1;
    }
}
