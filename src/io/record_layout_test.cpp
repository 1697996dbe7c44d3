#include "io/record_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace tavro {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string format(const char* layout, const std::vector<LayoutValue>& values) {
  std::string out;
  formatRecords(out, layout, values);
  return out;
}

// Expected records are laid out by hand from the editing rules; those that standard Fortran
// output also defines were checked against gfortran. Rows where this system's rules differ
// from gfortran say so: kP leaves F fields alone, a trailing nX writes its blanks, an integer
// given to G is edited as a real, texts and numbers in the wrong field come out as asterisks.
TEST(RecordLayout, FormatsValuesThroughLayouts) {
  struct Case {
    const char* layout;
    std::vector<LayoutValue> values;
    const char* expected;
  };
  const Case cases[] = {
      // Texts, blanks, case and separators.
      {"('it''s',I2)", {1}, "it's 1\n"},
      {"(\"say \"\"hi\"\"\",I2)", {1}, "say \"hi\" 1\n"},
      {"(I2, 2 X ,I2)", {1, 2}, " 1   2\n"},
      {"( ' a  b ' )", {}, " a  b \n"},
      {"(i3,f5.1,e10.2,g10.2,a3)", {1, 1.5, 1.5, 1.5, "ab"}, "  1  1.5  0.15E+01   1.5     ab\n"},
      {"(5X,73('-'))",
       {},
       "     -------------------------------------------------------------------------\n"},
      {"(3('ab'),2X,'c')", {}, "ababab  c\n"},
      {"(2'xy',1X)", {}, "xyxy \n"},
      {"('a',5X)", {}, "a     \n"},  // trailing nX writes its blanks (gfortran drops them)
      {"(15X,'Date:  March ',I2.2,', ',I4,5X,'Time:  ',I2.2,':',I2.2,':',I2.2)",
       {5, 2013, 9, 7, 3},
       "               Date:  March 05, 2013     Time:  09:07:03\n"},

      // Integers.
      {"(I5,I2,I5.3,I5.0,I5.0)", {-12, -12, -12, 0, 1}, "  -12** -012         1\n"},
      {"(I0,1X,I0.6,1X,I0)", {-1234, -1234, 0}, "-1234 -001234 0\n"},
      {"(I3.3,I4.4,I5,I4)", {-1, 12, 12345, 1234}, "***0012123451234\n"},
      {"(I20)", {-9223372036854775807LL}, "-9223372036854775807\n"},

      // Fixed point: ties go to even on the exact binary value, values that are not exact
      // ties round by their binary value, a leading zero goes when the width is short.
      {"(F5.2,F5.2,F3.0,F3.0,F5.0)", {0.125, 0.375, 2.5, 3.5, 0.5}, " 0.12 0.38 2. 4.   0.\n"},
      {"(F10.3,F10.3,F10.1,F10.1)",
       {0.0005, 0.0025, 0.25, 0.35},
       "     0.001     0.003       0.2       0.3\n"},
      {"(F6.2,F6.2,F3.0,F6.3,F4.1,F3.1)",
       {-0.001, -0.0, -0.001, -0.0005, -0.04, -0.04},
       " -0.00 -0.00-0.-0.001-0.0-.0\n"},
      {"(F4.3,F5.3,F4.3,F3.2,F2.0,F1.0)",
       {0.5, -0.5, -0.5, 0.0, 0.0, 0.0},
       ".500-.500****.000.*\n"},
      {"(F0.2,1X,F0.2,1X,F0.0,1X,F0.3,1X,F0.2)",
       {0.125, -12.345, 0.4, -0.4, 1e20},
       ".12 -12.35 0. -.400 100000000000000000000.00\n"},
      {"(F10.2,F10.2,F10.2,F10.2)",
       {12345678.9, 1234567.9, -123456.9, -1234567.9},
       "**********1234567.90-123456.90**********\n"},
      {"(F5.1,F4.1,F3.1,F3.1)", {9.96, 9.96, 0.96, 0.95}, " 10.010.01.00.9\n"},
      {"(F13.4,F13.5,F13.7,F13.3,F13.5)",
       {12.5, 0.5, 0.05, 123.5, -1e-60},
       "      12.5000      0.50000    0.0500000      123.500     -0.00000\n"},
      {"(F3.1,F4.1,F3.1,F8.1,F9.1,F3.1,F2.1)",
       {kInf, -kInf, -kInf, -kInf, -kInf, kNaN, kNaN},
       "Inf-Inf***    -Inf-InfinityNaN**\n"},

      // Exponent form: an exponent beyond 99 drops the "E"; the leading zero goes when short.
      {"(E12.4,E12.4,E10.3,E9.3)",
       {1e100, 1e-100, 1e-100, 1e-100},
       "  0.1000+101  0.1000E-99 0.100E-990.100E-99\n"},
      {"(E12.4,E12.4,E9.4,E10.4,E11.4,E8.3)",
       {0.0, -0.0, 0.5, -0.5, -0.5, -0.0999},
       "  0.0000E+00 -0.0000E+00.5000E+00-.5000E+00-0.5000E+00********\n"},
      {"(E12.4E3,E12.4E1,E12.4E1,E12.4E3)",
       {1.5e5, 1.5e5, 1.5e15, 1.5e300},
       " 0.1500E+006   0.1500E+6************ 0.1500E+301\n"},
      {"(E12.2,E12.2,E12.3,E12.4,E12.4)",
       {0.125, 0.375, 0.1235, 999995.0, 0.999995},
       "    0.12E+00    0.38E+00   0.123E+00  0.1000E+07  0.1000E+01\n"},
      {"(E12.4,E12.4,E12.4)",
       {2.2250738585072014e-308, 5e-324, 1.7976931348623157e308},
       "  0.2225-307  0.4941-323  0.1798+309\n"},
      {"(E12.4,E12.4,E12.4)", {kInf, -kInf, kNaN}, "    Infinity   -Infinity         NaN\n"},

      // Scale factor: E and G under kP; F is never scaled (gfortran would write 15.000 for the
      // F7.3 and 15.00 for the F6.2 fields below); G in fixed form ignores the factor; the factor
      // holds through reversion and until the next kP.
      {"(1P,E12.4,1P,E12.4,2P,E12.4,-1P,E12.4,1P,E12.0)",
       {1e100, -1e100, 1.5e5, 1.5e5, 1.5e5},
       "  1.0000+100 -1.0000+100  15.000E+04  0.0150E+07      2.E+05\n"},
      {"(2P,E12.4,-1P,E12.4,2P,E12.1,2P,E12.4E1)",
       {0.0, 0.0, 1.5e5, 1.0},
       "  00.000E+00  0.0000E+00     15.E+04   10.000E-1\n"},
      {"(1PE9.3,1PE8.3,1PE14.7)",
       {0.5, -0.5, 9.5367431640625e-07},
       "5.000E-01******** 9.5367432E-07\n"},
      {"(1X,F6.2,1P,E12.4,F7.3,G11.3,0P,E11.3)",
       {1.5, 1.5, 1.5, 1.5, 1.5},
       "   1.50  1.5000E+00  1.500   1.50      0.150E+01\n"},
      {"(1P,E10.2,(E10.2,F6.2))",
       {1.5, 1.5, 1.5, 1.5, 2.5, 2.5},
       "  1.50E+00  1.50E+00  1.50\n  1.50E+00  2.50\n  2.50E+00\n"},
      {"(1P,G12.5,G12.5,G12.5,2P,G12.5,-1P,G12.3,G12.3)",
       {0.09999999, 1.0, 1.0e6, 1.0e6, 1.5e5, 1.5},
       " 0.10000      1.0000     1.00000E+06 10.0000E+05   0.015E+07    1.50    \n"},

      // General form at its boundaries (rounding to d significant digits decides the form).
      {"(G12.5,G12.5,G12.5,G12.5)",
       {0.09999999, 0.1, 99999.4, 99999.6},
       " 0.10000     0.10000      99999.     0.10000E+06\n"},
      {"(G12.5,G12.5,G12.5,G12.5)",
       {99999.5, 99998.5, 0.0, -0.0},
       " 0.10000E+06  99998.      0.0000     -0.0000    \n"},
      {"(G12.5,G12.5,G12.5,G12.5,G12.5)",
       {1.0e-5, 123.456, -1.0, -99999.6, 1e100},
       " 0.10000E-04  123.46     -1.0000    -0.10000E+06 0.10000+101\n"},
      {"(G10.3,G10.3,G10.3,G10.3,G10.3,G10.3)",
       {9.995, 99.95, 999.5, 999.0, 0.0999, 0.09995},
       "  9.99      100.     0.100E+04  999.     0.999E-01 0.999E-01\n"},
      {"(G5.1,G6.1,G9.2,G8.2,G7.2)",
       {0.0, 0.0, -0.5, -0.5, -0.5},
       "*****0.    -0.50    -.50    *******\n"},
      {"(G12.5E3,G12.5E3,G12.5)", {1.5, 1.5e10, kInf}, " 1.5000     0.15000E+011    Infinity\n"},

      // Text fields.
      {"(2A2,A,A3)", {"xyz", "q", "hello", "ab"}, "xy qhello ab\n"},
      {"(A6,A1,A,'|',A)", {"hi", "hi", "", ""}, "    hih|\n"},
      {"(80A1)", {"x", "yz", "w"}, "xyw\n"},

      // Type rules: integers to F/E/G are reals (gfortran would write 3 as I for G), reals to I
      // are truncated toward zero, texts to numbers and numbers to A are asterisks.
      {"(F8.2,E10.3,G10.3)", {3, 3, 3}, "    3.00 0.300E+01  3.00    \n"},
      {"(I4,I4,I4,I4,I25)",
       {2.9, -2.9, -0.5, kNaN, 1e20},
       "   2  -2   0****    100000000000000000000\n"},
      {"(I5,F5.1,E9.2,G9.2,I0,F0.1)",
       {"ab", "ab", "ab", "ab", "ab", "ab"},
       "******************************\n"},
      {"(A3,A,A2)", {12, 1.5, "abc"}, "****ab\n"},

      // Records, repeat counts, nested groups and reversion to the last top-level group.
      {"(2I3)", {1, 2, 3, 4, 5}, "  1  2\n  3  4\n  5\n"},
      {"(I3,(I2))", {1, 2, 3, 4}, "  1 2\n 3\n 4\n"},
      {"(I3,2(I2,'x'))", {1, 2, 3, 4, 5, 6, 7, 8}, "  1 2x 3x\n 4x 5x\n 6x 7x\n 8x\n"},
      {"(I2,3(I1,2(I3)))",
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
       " 12  3  45  6  78  9 10\n* 12 13* 15\n"},
      {"(I2,2(I1,'a'),'b',I3)", {1, 2, 3, 4, 5, 6, 7}, " 12a3ab  4\n5a6ab  7\n"},
      {"(2X,'a',2(1X,'b',I1))", {1, 2, 3}, "  a b1 b2\n b3 b\n"},
      {"(2I3,/)", {1, 2, 3}, "  1  2\n\n  3\n"},
      {"(I3,3/)", {1, 2}, "  1\n\n\n\n  2\n\n\n\n"},

      // Running out of values: texts, blanks and record ends up to the next field or ':'.
      {"('x',I2,'y',I2,'z')", {1}, "x 1y\n"},
      {"('x',I2,:,'y',I2,'z')", {1}, "x 1\n"},
      {"('x',I2,'y',/,'w',I2,'z')", {1}, "x 1y\nw\n"},
      {"(2(2X,I1),:,'end')", {1, 2}, "  1  2\n"},
      {"(2(2X,I1),:,'end')", {1, 2, 3, 4}, "  1  2end\n  3  4\n"},
      {"(:,'a')", {}, "\n"},
      {"('a',:)", {}, "a\n"},
      {"(/,/,5X,'TEXT')", {}, "\n\n     TEXT\n"},
      {"('a',2(/),'b')", {}, "a\n\nb\n"},
      {"('a',2/,'b')", {}, "a\n\nb\n"},
      {"()", {}, "\n"},

      // A trailing '\' leaves the record open; elsewhere it has no effect; reversion still
      // ends the record.
      {"(5X,I5,2X,\\)", {7}, "         7  "},
      {"('a',\\,'b')", {}, "ab\n"},
      {"(I3,\\)", {1, 2}, "  1\n  2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format(c.layout, c.values), c.expected) << c.layout;
  }
}

TEST(RecordLayout, OpenRecordIsContinuedByTheNextWrite) {
  std::string out;
  formatRecords(out, "(5X,I5,2X,\\)", std::vector<LayoutValue>{3});
  appendFixed(out, 14, 5, 2.5);
  appendFixed(out, 14, 5, -0.25);
  formatRecords(out, "(2X,A)", std::vector<LayoutValue>{"END"});
  EXPECT_EQ(out, "         3         2.50000      -0.25000  END\n");
}

TEST(RecordLayout, FieldRoutinesMatchTheLineWriterFields) {
  enum class Field { Integer, Fixed, Exponent, General, Text };
  struct Case {
    Field field;
    int width;
    int digits;  // m, d, or unused
    int scale;   // E and G only
    double value;
    const char* expected;
    const char* text = "";
  };
  const Case cases[] = {
      {Field::Fixed, 13, 4, 0, 12.5, "      12.5000"},
      {Field::Fixed, 13, 3, 0, 123.5, "      123.500"},
      {Field::Fixed, 13, 5, 0, 0.5, "      0.50000"},
      {Field::Fixed, 13, 7, 0, 0.05, "    0.0500000"},
      {Field::Fixed, 13, 5, 0, 0.0, "      0.00000"},
      {Field::Fixed, 12, 4, 0, 0.15, "      0.1500"},
      {Field::Fixed, 0, 2, 0, 0.5, ".50"},
      {Field::Fixed, 3, 1, 0, 1000.0, "***"},
      {Field::Exponent, 13, 5, 1, 5.0e5, "  5.00000E+05"},
      {Field::Exponent, 13, 5, 1, 4.0e-3, "  4.00000E-03"},
      {Field::Exponent, 12, 4, 1, 0.1, "  1.0000E-01"},
      {Field::Exponent, 17, 8, 1, 1.23e-3, "   1.23000000E-03"},
      {Field::Exponent, 22, 15, 1, 1.5, " 1.500000000000000E+00"},
      {Field::Exponent, 12, 4, 0, -1e-100, " -0.1000E-99"},
      {Field::Exponent, 7, 4, 1, 1.0, "*******"},
      {Field::General, 12, 5, 0, 0.09999999, " 0.10000    "},
      {Field::General, 12, 5, 1, 1.0e-5, " 1.00000E-05"},
      {Field::General, 12, 5, 0, 0.0, "  0.0000    "},
      {Field::Integer, 4, 0, 0, 12, "  12"},
      {Field::Integer, 0, 0, 0, -7, "-7"},
      {Field::Integer, 0, 0, 0, 0, "0"},
      {Field::Integer, 5, 3, 0, 7, "  007"},
      {Field::Integer, 2, 0, 0, 100, "**"},
      {Field::Text, 3, 0, 0, 0, "abc", "abcdef"},
      {Field::Text, 6, 0, 0, 0, "    ab", "ab"},
      {Field::Text, 0, 0, 0, 0, "", "ab"},
  };
  for (const Case& c : cases) {
    std::string out = "<";
    switch (c.field) {
      case Field::Integer:
        appendInteger(out, c.width, c.digits, static_cast<long long>(c.value));
        break;
      case Field::Fixed:
        appendFixed(out, c.width, c.digits, c.value);
        break;
      case Field::Exponent:
        appendExponent(out, c.width, c.digits, c.scale, c.value);
        break;
      case Field::General:
        appendGeneral(out, c.width, c.digits, c.scale, c.value);
        break;
      case Field::Text:
        appendText(out, c.width, c.text);
        break;
    }
    EXPECT_EQ(out, std::string("<") + c.expected)
        << "field " << static_cast<int>(c.field) << " width " << c.width << " value " << c.value;
  }
  std::string out;
  appendExponent(out, 12, 4, 0, 1.5e5, 3);
  EXPECT_EQ(out, " 0.1500E+006");
}

TEST(RecordLayout, ReusedBufferHoldingAnotherLayoutIsParsedAgain) {
  char layout[32];
  std::strcpy(layout, "(I3)");
  EXPECT_EQ(format(layout, {5}), "  5\n");
  EXPECT_EQ(format(layout, {6}), "  6\n");
  std::strcpy(layout, "(I5,'|')");
  EXPECT_EQ(format(layout, {5}), "    5|\n");
  std::strcpy(layout, "(I3)");
  EXPECT_EQ(format(layout, {5}), "  5\n");
}

std::string escapedForRegex(const char* text) {
  std::string out;
  for (const char* p = text; *p != '\0'; ++p) {
    if (std::strchr("\\^$.|?*+()[]{}", *p) != nullptr) out.push_back('\\');
    out.push_back(*p);
  }
  return out;
}

TEST(RecordLayoutDeathTest, MalformedLayoutAbortsNamingIt) {
  struct Case {
    const char* layout;
    const char* reason;
  };
  const Case cases[] = {
      {"I5", "starts with"},
      {"(I5", "missing"},
      {"(I5))", "after the closing"},
      {"(I5,Q3)", "unknown descriptor"},
      {"(F10)", "is missing"},
      {"(I)", "number is missing"},
      {"('abc)", "unterminated"},
      {"(-3X)", "sign"},
      {"(0I3)", "positive"},
      {"(E0.3)", "positive width"},
      {"(G10.0)", "at least one digit"},
      {"(I3.5)", "m <= w"},
      {"(2:)", "no count"},
      {"(P,E10.3)", "scale factor"},
      {"(E12.4E0)", "exponent digits"},
  };
  for (const Case& c : cases) {
    const std::string pattern =
        "malformed record layout \"" + escapedForRegex(c.layout) + "\": .*" + c.reason;
    EXPECT_DEATH(format(c.layout, {1}), pattern) << c.layout;
  }
}

TEST(RecordLayoutDeathTest, ValuesBeyondAnyFieldAbort) {
  EXPECT_DEATH(format("('a')", {1}), "\\('a'\\)\" has no field for the values");
  EXPECT_DEATH(format("(I3,2('-'))", {1, 2}), "has no field for the values");
}

}  // namespace
}  // namespace tavro
