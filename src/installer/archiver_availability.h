#pragma once

#include <string>
#include <string_view>

// Whether the two archivers can be used: ZIP through libarchive, LHA through lhasa. The
// launcher and the installer ask before they open a package.
namespace vokari {

class ArchiverAvailability {
public:
    virtual ~ArchiverAvailability() = default;
    virtual bool isZipAvailable() const = 0;
    virtual bool isLhaAvailable() const = 0;
};

// The libraries linked into this program, asked whether they can read their format.
class LibraryArchiverAvailability : public ArchiverAvailability {
public:
    bool isZipAvailable() const override;
    bool isLhaAvailable() const override;
};

// The check in use; the linked libraries unless a test installed another.
const ArchiverAvailability& archiverAvailability();
// Installs `availability` (not owned); nullptr restores the libraries' own answer.
void setArchiverAvailability(const ArchiverAvailability* availability);

bool isZipAvailable();
bool isLhaAvailable();

// A fixed answer for tests, installed while it lives.
class FixedArchiverAvailability : public ArchiverAvailability {
public:
    FixedArchiverAvailability(bool zip, bool lha);
    ~FixedArchiverAvailability() override;
    FixedArchiverAvailability(const FixedArchiverAvailability&) = delete;
    FixedArchiverAvailability& operator=(const FixedArchiverAvailability&) = delete;
    bool isZipAvailable() const override { return zip_; }
    bool isLhaAvailable() const override { return lha_; }

private:
    bool zip_;
    bool lha_;
    const ArchiverAvailability* previous_;
};

// Looks for a file named `fileName` (without regard to case) in the program's folder, the
// current folder, then the folders of PATH. Found: true, `folder` = the Windows path of its
// folder ending in a backslash. Otherwise false and `folder` empty.
bool findOnSearchPath(std::string_view fileName, std::string& folder);

} // namespace vokari
