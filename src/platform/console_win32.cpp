#include "platform/console.h"
#include "platform/windows_api.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <streambuf>
#include <windows.h>

namespace vokari::platform {
namespace {

// Collects UTF-8 and hands whole characters to the console as UTF-16.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            pending_.push_back(static_cast<char>(c));
            if (c == '\n' || pending_.size() >= 4096)
                flushWhole();
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending_.append(s, static_cast<size_t>(n));
        if (pending_.size() >= 4096 || pending_.find('\n') != std::string::npos)
            flushWhole();
        return n;
    }
    int sync() override {
        flushWhole();
        return 0;
    }

private:
    // Writes all but a character cut at the end, which waits for its other bytes.
    void flushWhole() {
        size_t end = pending_.size();
        size_t lead = end;
        while (lead > 0 && lead + 4 > end && (pending_[lead - 1] & 0xC0) == 0x80)
            --lead;
        if (lead > 0) {
            const unsigned char first = static_cast<unsigned char>(pending_[lead - 1]);
            const size_t need = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
            if (need > end - (lead - 1))
                end = lead - 1;
        }
        const std::wstring wide = wideFromUtf8(std::string_view(pending_).substr(0, end));
        DWORD written = 0;
        if (!wide.empty())
            ::WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written,
                            nullptr);
        pending_.erase(0, end);
    }

    HANDLE console_;
    std::string pending_;
};

void useUtf8Stream(DWORD which, std::ostream& stream, FILE* file) {
    const HANDLE handle = ::GetStdHandle(which);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle && ::GetConsoleMode(handle, &mode)) {
        stream.rdbuf(new ConsoleBuffer(handle)); // kept for the life of the program
    } else {
        // Bytes as written: no code page conversion, no CR added before LF.
        ::_setmode(::_fileno(file), _O_BINARY);
    }
}

} // namespace

std::vector<std::string> programArguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(utf8FromWide(argv[i]));
    return args;
}

void useUtf8Streams() {
    useUtf8Stream(STD_OUTPUT_HANDLE, std::cout, stdout);
    useUtf8Stream(STD_ERROR_HANDLE, std::cerr, stderr);
}

} // namespace vokari::platform
