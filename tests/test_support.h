// Helpers for tests that write files: a fresh temporary directory and whole-file reading.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavro::testing {

/// A new empty directory under the system's temporary directory, removed at the end.
/// With `enter` the process works in it until the end (ITAVRO reads "Names.dat" there).
class TempDir {
 public:
  explicit TempDir(bool enter = false);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
  bool entered_ = false;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
/// The file's lines without their '\n'.
std::vector<std::string> readLines(const std::string& path);

}  // namespace tavro::testing
