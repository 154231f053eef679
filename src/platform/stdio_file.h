#pragma once

#include <cstdio>
#include <filesystem>

namespace vokari::platform {

// std::fopen for a host path, any name included (on Windows through the wide-character API).
// An "x" in `mode` creates the file and fails when the name is taken. nullptr and errno on
// failure.
std::FILE* openStdioFile(const std::filesystem::path& host, const char* mode);

} // namespace vokari::platform
