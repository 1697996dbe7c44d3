#include "run/line_writer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "io/channels.h"
#include "test_support.h"

namespace tavro {
namespace {

TEST(LineWriter, RealChoosesFixedOrScientific) {
  struct Case {
    int width;
    int digits;
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {13, 5, 12.5, "      12.5000"},
      {13, 5, 123.5, "      123.500"},
      {13, 5, 0.5, "      0.50000"},
      {13, 5, 0.05, "    0.0500000"},
      {13, 5, 5.0E5, "  5.00000E+05"},
      {13, 5, 4.0E-3, "  4.00000E-03"},
      {13, 5, -12.5, "     -12.5000"},
      // Zero, tiny values and not-a-number all show as zero, without a sign.
      {13, 5, 0.0, "      0.00000"},
      {13, 5, 1.0E-51, "      0.00000"},
      {13, 5, -1.0E-51, "      0.00000"},
      {13, 5, -1.0E-60, "      0.00000"},
      {13, 5, std::nan(""), "      0.00000"},
      // The lower bound 10^(3-d) itself is scientific; just above it is fixed.
      {12, 4, 0.1, "  1.0000E-01"},
      {12, 4, 0.15, "      0.1500"},
      // The upper bound 10^d is scientific.
      {13, 5, 1.0E5, "  1.00000E+05"},
      {13, 5, 99999.0, "      99999.0"},
      // With d = 8 a value that passes the lower bound may still need too many decimals.
      {17, 8, 1.23E-3, "   1.23000000E-03"},
      {17, 8, 1.23E-2, "     0.0123000000"},
      {18, 5, 2.0, "           2.00000"},
  };
  for (const Case& c : cases) {
    std::string out;
    appendReal(out, c.width, c.digits, c.value);
    EXPECT_EQ(out, c.expected) << "w=" << c.width << " d=" << c.digits << " v=" << c.value;
  }
}

TEST(LineWriter, RowIsTheSumOfItsPiecesAndOneBlank) {
  testing::TempDir dir;
  const std::string path = dir.file("rows.txt");
  ASSERT_TRUE(openChannel(kReport, path, OpenMode::TextOutput));
  writeBlanks(kReport, 5);
  writeInteger(kReport, 4, 12);
  writeBlanks(kReport, 0);
  writeBlanks(kReport, -3);
  endLine(kReport);
  writeText10(kReport, "SAND");
  writeText6(kReport, "LONGER TEXT");
  writeText1(kReport, "/");
  writeText2(kReport, "IN");
  writeText3(kReport, "LBS");
  writeReal(kReport, 13, 5, 12.5);
  EXPECT_TRUE(hasOpenLine(kReport));
  endLine(kReport);
  EXPECT_FALSE(hasOpenLine(kReport));
  ASSERT_TRUE(closeChannel(kReport));
  EXPECT_EQ(testing::readFile(path),
            "       12 \n"
            "       SAND  LONGER /INLBS      12.5000 \n");
}

}  // namespace
}  // namespace tavro
