#pragma once

#include <string>
#include <vector>

// The command line's arguments and streams in UTF-8, whatever the system's own code page.
namespace vokari::platform {

#ifdef _WIN32
// Arguments as Windows hands them to wmain, in UTF-8: names outside the ANSI code page survive.
std::vector<std::string> programArguments(int argc, wchar_t** argv);
#else
std::vector<std::string> programArguments(int argc, char** argv);
#endif

// Makes standard output and error carry UTF-8 as written. On Windows a console is written in
// wide characters, so Japanese names show in cmd.exe; files and pipes get the UTF-8 bytes.
void useUtf8Streams();

} // namespace vokari::platform
