#include "cli/status_message.h"

namespace tavro::cli {
namespace {

std::string_view trimmed(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = line.find_last_not_of(" \t\r");
  return line.substr(first, last - first + 1);
}

}  // namespace

std::vector<std::string> finalStatusMessage(std::string_view statusText) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < statusText.size()) {
    std::size_t end = statusText.find('\n', start);
    if (end == std::string_view::npos) end = statusText.size();
    lines.push_back(statusText.substr(start, end - start));
    start = end + 1;
  }
  // The message is the block of text lines after the last blank line.
  std::size_t first = lines.size();
  while (first > 0 && !trimmed(lines[first - 1]).empty()) --first;
  if (first == 0) return {};  // no blank line: not a status file that ends with a message
  std::vector<std::string> message;
  for (std::size_t k = first; k < lines.size(); ++k) message.emplace_back(trimmed(lines[k]));
  return message;
}

}  // namespace tavro::cli
