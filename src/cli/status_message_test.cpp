#include "cli/status_message.h"

#include <gtest/gtest.h>

namespace tavro::cli {
namespace {

TEST(CliStatusMessage, TheLinesAfterTheLastBlankRecord) {
  // The end of a runtime status file: the section trace, the record of four blanks written
  // in free format (five blanks), then the message records, each after one blank column.
  const std::string trace =
      "\n            PIER FOOTING\n\n\n     READING * TITLE AND VERSION\n"
      "     READING F - SOIL LAYERS                                   \n";
  struct Case {
    std::string text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {trace + "     \n     ANALYSIS COMPLETED\n", {"ANALYSIS COMPLETED"}},
      {trace + "     \n     * ERROR IN ANALYSIS *\n     PILE LENGTH EXTENDS BELOW THE BOTTOM\n"
                   "     OF THE DEEPEST LAYER, NODE\n",
       {"* ERROR IN ANALYSIS *", "PILE LENGTH EXTENDS BELOW THE BOTTOM",
        "OF THE DEEPEST LAYER, NODE"}},
      {trace + "     \n     * ERROR READING INPUT DATA *\n"
                   "     run.inp, line 4: expected an integer for unitsCode, found 'x'\n",
       {"* ERROR READING INPUT DATA *",
        "run.inp, line 4: expected an integer for unitsCode, found 'x'"}},
      // A last line without its end, and line ends written as "\r\n".
      {trace + "     \r\n      *** ANALYSIS STOPPED BY USER ***", {"*** ANALYSIS STOPPED BY USER ***"}},
      // A run stopped before it wrote anything leaves the file empty.
      {"", {}},
      // A file that ends with a blank line holds no message.
      {trace + "     \n", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(finalStatusMessage(c.text), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace tavro::cli
