// Splitting a file path into drive, directory, name and extension, for the report's file list.
#pragma once

#include <string>
#include <string_view>

namespace tavro {

/// The parts of a path: "C:\runs\pile.inp" gives "C:", "\runs\", "pile", ".inp";
/// "/tmp/runs/pile.inp" gives "", "/tmp/runs/", "pile", ".inp"; "pile" gives "", "", "pile", "".
/// Both '/' and '\' separate directories; the extension starts at the last '.' of the name,
/// except that leading dots belong to the name: ".profile" has no extension. A drive is a letter
/// and a colon at the very start. Blanks are not trimmed.
struct PathParts {
  std::string drive;
  std::string directory;
  std::string name;
  std::string extension;
};

PathParts splitPath(std::string_view path);

}  // namespace tavro
