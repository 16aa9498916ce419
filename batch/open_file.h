// fopen for paths held as UTF-8 text, on every system: Windows needs the
// wide-character call for names outside its ANSI code page.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace torvane {

std::filesystem::path PathFromUtf8(const std::string& utf8);

// mode as for fopen ("rb", "wbx"); null with errno set on failure.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

}  // namespace torvane
