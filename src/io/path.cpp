#include "io/path.h"

namespace tavro {
namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

PathParts splitPath(std::string_view path) {
  PathParts parts;
  if (path.size() >= 2 && isLetter(path[0]) && path[1] == ':') {
    parts.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  const std::size_t separator = path.find_last_of("/\\");
  if (separator != std::string_view::npos) {
    parts.directory = path.substr(0, separator + 1);
    path.remove_prefix(separator + 1);
  }
  // Leading dots belong to the name, so ".profile" and ".." have no extension.
  const std::size_t firstNonDot = path.find_first_not_of('.');
  const std::size_t dot = path.find_last_of('.');
  if (firstNonDot != std::string_view::npos && dot != std::string_view::npos && dot > firstNonDot) {
    parts.extension = path.substr(dot);
    path = path.substr(0, dot);
  }
  parts.name = path;
  return parts;
}

}  // namespace tavro
