#include "io/path.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavro {
namespace {

TEST(Path, SplitsDriveDirectoryNameAndExtension) {
  struct Case {
    const char* path;
    const char* drive;
    const char* directory;
    const char* name;
    const char* extension;
  };
  const std::vector<Case> cases = {
      {"C:\\runs\\pile.inp", "C:", "\\runs\\", "pile", ".inp"},
      {"/tmp/runs/pile.inp", "", "/tmp/runs/", "pile", ".inp"},
      {"pile.inp", "", "", "pile", ".inp"},
      {"pile", "", "", "pile", ""},
      {"", "", "", "", ""},
      {"C:\\runs\\", "C:", "\\runs\\", "", ""},
      {"/tmp/", "", "/tmp/", "", ""},
      {"archive.tar.gz", "", "", "archive.tar", ".gz"},
      {".profile", "", "", ".profile", ""},
      {"/home/u/.bashrc.old", "", "/home/u/", ".bashrc", ".old"},
      {"..", "", "", "..", ""},
      {"pile.", "", "", "pile", "."},
      {"runs/v1.2/pile", "", "runs/v1.2/", "pile", ""},
      {"d:pile.out", "d:", "", "pile", ".out"},
      {"C:/mixed\\seps/a.b", "C:", "/mixed\\seps/", "a", ".b"},
      {"\\\\server\\share\\f.dat", "", "\\\\server\\share\\", "f", ".dat"},
      {"1:x.dat", "", "", "1:x", ".dat"},
      {"C:", "C:", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const PathParts parts = splitPath(c.path);
    EXPECT_EQ(parts.drive, c.drive);
    EXPECT_EQ(parts.directory, c.directory);
    EXPECT_EQ(parts.name, c.name);
    EXPECT_EQ(parts.extension, c.extension);
    // The parts are the path cut in four: nothing lost, nothing added.
    EXPECT_EQ(parts.drive + parts.directory + parts.name + parts.extension, c.path);
  }
}

}  // namespace
}  // namespace tavro
