// Where a fuzz target writes its files and reads them back, and the
// helpers that fill and read them.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace torvane::fuzz {

// The folder of `target`, one of this process's own: targets run in one
// process (the test suite's replay) each count the files of their own.
inline std::filesystem::path Folder(const char* target) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("torvane-fuzz-" + std::to_string(getpid())) / target;
  std::filesystem::create_directories(folder);
  return folder;
}

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::filesystem::path& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// How many files the folder holds: those a target wrote and nothing a
// failed write left behind.
inline std::size_t FilesIn(const std::filesystem::path& folder) {
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    (void)entry;
    ++files;
  }
  return files;
}

}  // namespace torvane::fuzz
