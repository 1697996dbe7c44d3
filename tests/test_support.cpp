#include "test_support.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tavro::testing {

TempDir::TempDir(bool enter) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tavro-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  if (enter) {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
    entered_ = true;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (entered_) std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::vector<std::string> readLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(readFile(path));
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

}  // namespace tavro::testing
