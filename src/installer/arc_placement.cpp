#include "installer/arc_placement.h"

#include "common/file_helpers.h"
#include "installer/cfs_arc_file.h"

#include <algorithm>
#include <string_view>

namespace vokari {
namespace {

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool hasDotDot(std::string_view text) {
    return text.find("..") != std::string_view::npos;
}

void place(CfsArcFile& e, const std::string& destination) {
    e.setShouldInstall(true);
    e.setInstallPath(destination);
    e.setDefaultInstallPath(destination);
}

bool isOpen(const CfsArcFile& e) {
    return !e.shouldInstall() && !e.isFolder();
}

class Placement {
public:
    Placement(const std::vector<CfsArcFile*>& entries, const std::string& archiveName,
              int16_t version, const std::string& cfsPath, int16_t& minimumVersion)
        : entries_(entries), archiveName_(archiveName), version_(version), cfsPath_(cfsPath),
          minimumVersion_(minimumVersion) {
        folders_.reserve(entries.size());
        for (const CfsArcFile* e : entries)
            folders_.push_back(upper(e->filePath()));
        // Entries sorted by upper-case folder: those below a folder form one run.
        byFolder_.resize(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            byFolder_[i] = i;
        std::stable_sort(byFolder_.begin(), byFolder_.end(),
                         [&](size_t a, size_t b) { return folders_[a] < folders_[b]; });
    }

    void run() {
        panelPackage();
        markerFiles();
        byExtension();
        unplaceArchives();
    }

private:
    void panelPackage() {
        if (version_ != 2 || (archiveName_ != "QRWPanelUPD.lzh" && archiveName_ != "QRWPanel.lzh"))
            return;
        for (CfsArcFile* e : entries_)
            if (isOpen(*e) && !e->filePath().empty())
                place(*e, e->filePath());
    }

    void markerFiles() {
        for (size_t i = 0; i < entries_.size(); ++i) {
            const CfsArcFile& m = *entries_[i];
            const std::string name = upper(m.fileName());
            if (name == "AIRCRAFT.CFG")
                vehicle(i, "AIRCRAFT\\", "aircraft");
            else if (name == "SHIP.CFG")
                vehicle(i, "SHIPS\\", "SHIPS");
            else if (m.extention() == "CMG")
                campaign(i);
        }
    }

    void vehicle(size_t marker, const std::string& category, const std::string& markerName) {
        const CfsArcFile& m = *entries_[marker];
        std::string root;
        if (m.filePath().empty() || m.arrayPath.back() == markerName)
            root = category + removeExtension(archiveName_) + "\\";
        else
            root = category + m.arrayPath.back() + "\\";
        const std::string& r = folders_[marker];
        auto it =
            std::lower_bound(byFolder_.begin(), byFolder_.end(), r,
                             [&](size_t i, const std::string& key) { return folders_[i] < key; });
        for (; it != byFolder_.end() && startsWith(folders_[*it], r); ++it) {
            CfsArcFile& e = *entries_[*it];
            if (!isOpen(e))
                continue;
            const std::string& f = folders_[*it];
            if (f == r)
                place(e, root);
            else if (!hasDotDot(f))
                place(e, root + f.substr(r.size()));
        }
    }

    void campaign(size_t marker) {
        const std::string& r = folders_[marker];
        for (size_t i = 0; i < entries_.size(); ++i) {
            CfsArcFile& e = *entries_[i];
            if (!isOpen(e))
                continue;
            const std::string& f = folders_[i];
            const std::string& x = e.extention();
            const bool photo = x == "JPG" || x == "JPEG";
            if (startsWith(f, r) && !hasDotDot(f)) {
                if (x == "MIS" || x == "DYN" || x == "CMG")
                    place(e, "CAMPAIGNS\\");
                else if (photo)
                    place(e, "PHOTOS\\");
            }
            if (photo && startsWith(f, "PHOTOS\\"))
                place(e, "PHOTOS\\");
        }
    }

    void byExtension() {
        for (size_t i = 0; i < entries_.size(); ++i) {
            CfsArcFile& e = *entries_[i];
            if (!isOpen(e))
                continue;
            const std::string& x = e.extention();
            if (x == "MIS") {
                place(e, "MISSIONS\\");
            } else if (x == "DYN") {
                place(e, "MISSIONS\\");
                minimumVersion_ = 2;
            } else if (x == "GAU") {
                place(e, "GAUGES\\");
                minimumVersion_ = 2;
            } else if (x == "FX") {
                place(e, "EFFECTS\\");
                minimumVersion_ = 2;
            } else if (x == "JPG" || x == "JPEG") {
                if (startsWith(folders_[i], "PHOTOS\\"))
                    place(e, "PHOTOS\\");
            } else if (x == "DP" || x == "CDP") {
                const std::string found = findFileInTree(e.fileName(), cfsPath_);
                if (!found.empty() && found.size() >= cfsPath_.size() + e.fileName().size())
                    place(e, found.substr(cfsPath_.size(),
                                          found.size() - cfsPath_.size() - e.fileName().size()));
            }
        }
    }

    void unplaceArchives() {
        for (CfsArcFile* e : entries_) {
            const std::string& x = e->extention();
            if (e->shouldInstall() && (x == "ZIP" || x == "LZH" || x == "DIZ")) {
                e->setShouldInstall(false);
                e->setInstallPath("");
                e->setDefaultInstallPath("");
            }
        }
    }

    const std::vector<CfsArcFile*>& entries_;
    const std::string& archiveName_;
    int16_t version_;
    const std::string& cfsPath_;
    int16_t& minimumVersion_;
    std::vector<std::string> folders_;
    std::vector<size_t> byFolder_;
};

} // namespace

void placeArchiveEntries(const std::vector<CfsArcFile*>& entries, const std::string& archiveName,
                         int16_t version, const std::string& cfsPath, int16_t& minimumVersion) {
    Placement(entries, archiveName, version, cfsPath, minimumVersion).run();
}

} // namespace vokari
