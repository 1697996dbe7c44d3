#include "io/free_format_input.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace tavro {
namespace {

FreeFormatInput inputOf(std::string text) {
  FreeFormatInput in;
  in.assign(std::move(text), "case.inp");
  return in;
}

// Reads integers in reads of the given sizes and returns them all, or stops at the first failure.
std::vector<int> readIntegers(FreeFormatInput& in, const std::vector<int>& readSizes) {
  std::vector<int> values;
  for (int size : readSizes) {
    in.beginRead();
    for (int i = 0; i < size; ++i) {
      int v = 0;
      if (!in.nextInteger(v, "value")) return values;
      values.push_back(v);
    }
    in.endRead();
  }
  return values;
}

TEST(FreeFormatInput, IntegerReadsOverSeparatorsAndLines) {
  struct Case {
    const char* label;
    std::string text;
    std::vector<int> readSizes;
    std::vector<int> expected;
    int nextLine;  // line the next read would start on
  };
  const std::vector<Case> cases = {
      {"blanks", "1 2 3\n", {3}, {1, 2, 3}, 2},
      {"commas", "1,2,3\n", {3}, {1, 2, 3}, 2},
      {"commas between blanks", "1 , 2 ,3  ,\n", {3}, {1, 2, 3}, 2},
      {"tabs and CRLF", "\t1\t2 \t3\r\n4\r\n", {3, 1}, {1, 2, 3, 4}, 3},
      {"read continues on the next line", "1 2\n3\n9\n", {3, 1}, {1, 2, 3, 9}, 4},
      {"blank lines inside a read", "1\n\n   \n\t\n2\n", {2}, {1, 2}, 6},
      {"extra values skipped", "1 2 3 4 5\n6 7\n", {2, 1}, {1, 2, 6}, 3},
      {"extras on the continuation line skipped", "1\n2 3 4\n5\n", {2, 1}, {1, 2, 5}, 4},
      {"comma at a line end, value on the next", "1,\n2\n", {2}, {1, 2}, 3},
      {"comma at a line start after a value", "1\n,2\n", {2}, {1, 2}, 3},
      {"signs and leading zeros", "+7 -0 007 -2147483648 2147483647", {5},
       {7, 0, 7, -2147483648, 2147483647}, 2},
      {"missing final newline", "4\n5 6", {1, 2}, {4, 5, 6}, 3},
      {"indented values", "      12\n", {1}, {12}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FreeFormatInput in = inputOf(c.text);
    EXPECT_EQ(readIntegers(in, c.readSizes), c.expected) << in.error().message();
    EXPECT_EQ(in.currentLine(), c.nextLine);
  }
}

// Record A: sixteen named integers in one read.
struct ControlRecord {
  int v[16] = {};
};

bool readControl(FreeFormatInput& in, ControlRecord& r) {
  return in.read("unitsCode", r.v[0], "analysisType", r.v[1], "capEmbedmentOption", r.v[2],
                 "flexibleCapOption", r.v[3], "userPyCurvesOn", r.v[4], "userAxialCurvesOn",
                 r.v[5], "userTorqueCurvesOn", r.v[6], "reductionFactorOption", r.v[7],
                 "nonlinearBendingOn", r.v[8], "axialLoadFactorOn", r.v[9], "printPyCurvesOn",
                 r.v[10], "unused", r.v[11], "depthFactorsOn", r.v[12], "soilMovementOn",
                 r.v[13], "curveDataFileOn", r.v[14], "curveDataBinary", r.v[15]);
}

TEST(FreeFormatInput, ControlRecordOverTwoLinesReadsAsOnOneLine) {
  const std::vector<std::string> texts = {
      "1 1 0 0 0 0 0 3 0 0 1 0 0 0 1 1\n0.5 0.25\n",
      "1 1 0 0 0 0 0 3\n0 0 1 0 0 0 1 1\n0.5 0.25\n",
      "1,1,0,0,0,0,0,3,\n\n0,0,1,0,0,0,1,1, 99 99\n0.5,0.25\n",
  };
  const int expected[16] = {1, 1, 0, 0, 0, 0, 0, 3, 0, 0, 1, 0, 0, 0, 1, 1};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    FreeFormatInput in = inputOf(text);
    ControlRecord r;
    ASSERT_TRUE(readControl(in, r)) << in.error().message();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(r.v[i], expected[i]) << "field " << i + 1;
    // The next read starts on the line after the record, whatever was left over on it.
    double movementY = 0.0, movementZ = 0.0;
    ASSERT_TRUE(in.read("definedMovementY", movementY, "definedMovementZ", movementZ))
        << in.error().message();
    EXPECT_EQ(movementY, 0.5);
    EXPECT_EQ(movementZ, 0.25);
    EXPECT_TRUE(in.atEnd());
  }
}

TEST(FreeFormatInput, RealForms) {
  struct Case {
    const char* token;
    double expected;
  };
  const std::vector<Case> cases = {
      {"1", 1.0},          {"1.", 1.0},          {".5", 0.5},        {"-.5", -0.5},
      {"-2.5E-3", -0.0025}, {"1.0D3", 1000.0},   {"1.0d+3", 1000.0}, {"+3e2", 300.0},
      {"0.1", 0.1},         {"29000000.", 2.9e7}, {"1.5e-7", 1.5e-7}, {"7E0", 7.0},
      {"1e-400", 0.0},      {"-0.0", 0.0},        {"000.250", 0.25},
      {"1.7976931348623157e308", 1.7976931348623157e308},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.token);
    FreeFormatInput in = inputOf(std::string("  ") + c.token + " , 8.5\n");
    double value = -99.0, next = 0.0;
    ASSERT_TRUE(in.read("x", value, "y", next)) << in.error().message();
    EXPECT_EQ(value, c.expected);
    EXPECT_EQ(next, 8.5);
  }
}

TEST(FreeFormatInput, RejectedNumbersNameTheFieldAndTheWord) {
  struct Case {
    const char* token;
    bool integer;  // read as an integer, else as a real
    const char* found;
  };
  const std::vector<Case> cases = {
      {"2.0", true, "'2.0'"},
      {"2.5", true, "'2.5'"},
      {"1e3", true, "'1e3'"},
      {"2147483648", true, "'2147483648' (out of range)"},
      {"-2147483649", true, "'-2147483649' (out of range)"},
      {"99999999999999999999", true, "'99999999999999999999' (out of range)"},
      {"+-5", true, "'+-5'"},
      {"--1", true, "'--1'"},
      {"+", true, "'+'"},
      {"-", true, "'-'"},
      {"12abc", true, "'12abc'"},
      {"0x10", true, "'0x10'"},
      {"'3'", true, "'3'"},
      {"3*1", true, "'3*1'"},
      {"nan", false, "'nan'"},
      {"inf", false, "'inf'"},
      {"-infinity", false, "'-infinity'"},
      {"0x1p3", false, "'0x1p3'"},
      {"1e", false, "'1e'"},
      {"1e+", false, "'1e+'"},
      {"e5", false, "'e5'"},
      {".", false, "'.'"},
      {"-.", false, "'-.'"},
      {"--1", false, "'--1'"},
      {"12abc", false, "'12abc'"},
      {"1..2", false, "'1..2'"},
      {"1.2.3", false, "'1.2.3'"},
      {"1.0+3", false, "'1.0+3'"},
      {"1e5.0", false, "'1e5.0'"},
      {"1.0q3", false, "'1.0q3'"},
      {"3*1.0", false, "'3*1.0'"},
      {"\"1.5\"", false, "\"1.5\""},
      {"1e400", false, "'1e400' (out of range)"},
      {"-1.8e308", false, "'-1.8e308' (out of range)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.token);
    FreeFormatInput in = inputOf(std::string("heading line\n7 ") + c.token + "\n8\n");
    std::string heading;
    ASSERT_TRUE(in.readTextLine(heading, 80, "heading"));
    in.beginRead();
    int i = 0;
    double r = 0.0;
    ASSERT_TRUE(in.nextInteger(i, "count"));
    const bool ok = c.integer ? in.nextInteger(i, "nPiles") : in.nextReal(r, "capLength");
    ASSERT_FALSE(ok);
    EXPECT_EQ(in.error().file, "case.inp");
    EXPECT_EQ(in.error().line, 2);
    EXPECT_EQ(in.error().expected, c.integer ? "an integer for nPiles" : "a real for capLength");
    EXPECT_EQ(in.error().found, c.found);
    // A failed read does not derail the next one: it starts on the following line.
    ASSERT_TRUE(in.read("after", i)) << in.error().message();
    EXPECT_EQ(i, 8);
  }
}

TEST(FreeFormatInput, Words) {
  struct Case {
    const char* label;
    std::string text;
    std::vector<std::string> expected;  // words of one read
  };
  const std::vector<Case> cases = {
      {"plain words", "SAND  clay\n", {"SAND", "clay"}},
      {"comma ends a word", "abc,def , ghi\n", {"abc", "def", "ghi"}},
      {"apostrophes with blanks inside", "'two words' x\n", {"two words", "x"}},
      {"comma inside apostrophes", "'a, b',c\n", {"a, b", "c"}},
      {"doubled apostrophe", "'it''s' 'O''''K'\n", {"it's", "O''K"}},
      {"double quotes", "\"say \"\"hi\"\"\" 'don\"t'\n", {"say \"hi\"", "don\"t"}},
      {"empty quoted text", "'' x\n", {"", "x"}},
      {"apostrophe inside a word", "O'Neil\n", {"O'Neil"}},
      {"quoted text over a line end", "first\n'second line'\n", {"first", "second line"}},
      {"CRLF after a quoted text", "'abc'\r\n", {"abc"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FreeFormatInput in = inputOf(c.text);
    in.beginRead();
    for (const std::string& expected : c.expected) {
      std::string word = "stale";
      ASSERT_TRUE(in.nextWord(word, "name")) << in.error().message();
      EXPECT_EQ(word, expected);
    }
    in.endRead();
    EXPECT_TRUE(in.atEnd());
  }
}

TEST(FreeFormatInput, TextLines) {
  struct Case {
    const char* label;
    std::string text;
    std::size_t width;
    std::vector<std::string> expected;  // successive text lines
  };
  const std::vector<Case> cases = {
      {"padded", "TITLE\n", 8, {"TITLE   "}},
      {"cut", "0123456789ABC\n", 10, {"0123456789"}},
      {"exact width", "abcd\n", 4, {"abcd"}},
      {"CRLF stripped", "Pile group\r\nrun 2\r\n", 12, {"Pile group  ", "run 2       "}},
      {"empty line", "\nX", 3, {"   ", "X  "}},
      {"missing final newline", "last", 6, {"last  "}},
      {"blanks and tabs kept", "  a\tb  \n", 8, {"  a\tb   "}},
      {"commas and apostrophes are plain text", "'x', y\n", 7, {"'x', y "}},
      {"NUL kept as a character", std::string("a\0b\n", 4), 4, {std::string("a\0b ", 4)}},
      {"byte order mark ignored", "\xEF\xBB\xBFTitle\n", 5, {"Title"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FreeFormatInput in = inputOf(c.text);
    for (const std::string& expected : c.expected) {
      std::string line;
      ASSERT_TRUE(in.readTextLine(line, c.width, "title")) << in.error().message();
      EXPECT_EQ(line, expected);
    }
    EXPECT_TRUE(in.atEnd());
  }
}

TEST(FreeFormatInput, HeadingLinesBetweenReads) {
  FreeFormatInput in = inputOf(
      "Group analysis of a bridge bent\n"
      "second title\n"
      "RECORD A - CONTROL\n"
      "1 1 0 0\n"
      "0 0 0 0 0 0 0 0 0 0 0 0 extra words here\n"
      "RECORD B - PILE CAP\n"
      "120.0, 96.0,\n"
      "  36.\n"
      "LOAD CASES\n"
      "1\n"
      "'Dead load'   1.0d0\n");
  std::string title, second, heading;
  ASSERT_TRUE(in.readTextLine(title, 80, "title"));
  EXPECT_EQ(title.substr(0, 32), "Group analysis of a bridge bent ");
  EXPECT_EQ(title.size(), 80u);
  ASSERT_TRUE(in.readTextLine(second, 80, "second title"));
  ASSERT_TRUE(in.readTextLine(heading, 80, "heading"));
  EXPECT_EQ(heading.substr(0, 19), "RECORD A - CONTROL ");
  ControlRecord control;
  ASSERT_TRUE(readControl(in, control)) << in.error().message();
  EXPECT_EQ(control.v[0], 1);
  EXPECT_EQ(control.v[1], 1);
  EXPECT_EQ(in.currentLine(), 6);
  ASSERT_TRUE(in.readTextLine(heading, 80, "heading"));
  EXPECT_EQ(heading.substr(0, 20), "RECORD B - PILE CAP ");
  double length = 0, width = 0, thickness = 0;
  ASSERT_TRUE(in.read("capLength", length, "capWidth", width, "capThickness", thickness))
      << in.error().message();
  EXPECT_EQ(length, 120.0);
  EXPECT_EQ(width, 96.0);
  EXPECT_EQ(thickness, 36.0);
  ASSERT_TRUE(in.readTextLine(heading, 80, "heading"));
  EXPECT_EQ(heading.substr(0, 11), "LOAD CASES ");
  int nCases = 0;
  ASSERT_TRUE(in.read("nLoadCases", nCases));
  EXPECT_EQ(nCases, 1);
  std::string name;
  double factor = 0;
  ASSERT_TRUE(in.read("caseName", name, "factor", factor)) << in.error().message();
  EXPECT_EQ(name, "Dead load");
  EXPECT_EQ(factor, 1.0);
  EXPECT_TRUE(in.atEnd());
}

TEST(FreeFormatInput, ErrorMessagesAndLines) {
  struct Case {
    const char* label;
    std::string text;
    std::function<bool(FreeFormatInput&)> reads;
    std::string message;
  };
  const auto threeIntegers = [](FreeFormatInput& in) {
    int a = 0, b = 0, c = 0;
    return in.read("a", a, "b", b, "c", c);
  };
  const auto twoTitles = [](FreeFormatInput& in) {
    std::string s;
    return in.readTextLine(s, 80, "title") && in.readTextLine(s, 80, "second title");
  };
  const auto unitsAfterHeadings = [](FreeFormatInput& in) {
    std::string s;
    for (int i = 0; i < 11; ++i) {
      if (!in.readTextLine(s, 80, "heading")) return false;
    }
    int units = 0;
    return in.read("unitsCode", units);
  };
  std::string elevenLines;
  for (int i = 1; i <= 11; ++i) elevenLines += "line " + std::to_string(i) + "\n";
  const std::vector<Case> cases = {
      {"early end of file", "1 2\n", threeIntegers,
       "case.inp, line 2: expected an integer for c, found end of file"},
      {"early end, no final newline", "1 2", threeIntegers,
       "case.inp, line 2: expected an integer for c, found end of file"},
      {"early end after blank lines", "1\n\n\n", threeIntegers,
       "case.inp, line 4: expected an integer for b, found end of file"},
      {"empty file", "", threeIntegers,
       "case.inp, line 1: expected an integer for a, found end of file"},
      {"text line at end of file", "only title\n", twoTitles,
       "case.inp, line 2: expected a line for second title, found end of file"},
      {"integer written as a real on line 12", elevenLines + "2.5\n", unitsAfterHeadings,
       "case.inp, line 12: expected an integer for unitsCode, found '2.5'"},
      {"lines counted through CRLF", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\nk\r\n2.5\r\n",
       unitsAfterHeadings, "case.inp, line 12: expected an integer for unitsCode, found '2.5'"},
      {"overflow", "1 99999999999 3\n", threeIntegers,
       "case.inp, line 1: expected an integer for b, found '99999999999' (out of range)"},
      {"bad value on a continuation line", "1\n\n2 x\n", threeIntegers,
       "case.inp, line 3: expected an integer for c, found 'x'"},
      {"two commas in a row", "1,,2\n", threeIntegers,
       "case.inp, line 1: expected an integer for b, found empty field"},
      {"two commas with blanks between", "1 , , 2\n", threeIntegers,
       "case.inp, line 1: expected an integer for b, found empty field"},
      {"comma first in the read", " ,1 2 3\n", threeIntegers,
       "case.inp, line 1: expected an integer for a, found empty field"},
      {"comma ending one line and starting the next", "1 2,\n,3\n", threeIntegers,
       "case.inp, line 2: expected an integer for c, found empty field"},
      {"NUL byte in a number", std::string("1 2\0 3\n", 7), threeIntegers,
       "case.inp, line 1: expected an integer for b, found '2\\x00'"},
      {"long garbage is cut", "1 2 " + std::string(60, 'z') + "\n", threeIntegers,
       "case.inp, line 1: expected an integer for c, found '" + std::string(40, 'z') + "...'"},
      {"unterminated quote",
       "\n'Dead load\n",
       [](FreeFormatInput& in) {
         std::string s;
         return in.read("caseName", s);
       },
       "case.inp, line 2: expected a text for caseName, found unterminated text 'Dead load"},
      {"text glued to a closing quote",
       "'Dead'load\n",
       [](FreeFormatInput& in) {
         std::string s;
         return in.read("caseName", s);
       },
       "case.inp, line 1: expected a text for caseName, found 'Dead'load"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FreeFormatInput in = inputOf(c.text);
    EXPECT_FALSE(c.reads(in));
    EXPECT_EQ(in.error().message(), c.message);
  }
}

TEST(FreeFormatInput, MessageWithoutFileOrLine) {
  EXPECT_EQ((InputError{"", 3, "a real for x", "'q'"}.message()),
            "input, line 3: expected a real for x, found 'q'");
  EXPECT_EQ((InputError{"run.inp", 0, "a readable file", "no such file"}.message()),
            "run.inp: expected a readable file, found no such file");
}

TEST(FreeFormatInput, EmptyReadUsesUpOneLine) {
  FreeFormatInput in = inputOf("skipped 1 2\n\n5\n");
  ASSERT_TRUE(in.read());
  EXPECT_EQ(in.currentLine(), 2);
  int v = 0;
  ASSERT_TRUE(in.read("v", v));
  EXPECT_EQ(v, 5);
}

TEST(FreeFormatInput, ValueOutsideAReadStartsOne) {
  FreeFormatInput in = inputOf("1 2\n3 4\n");
  int v = 0;
  ASSERT_TRUE(in.read("first", v));
  ASSERT_TRUE(in.nextInteger(v, "implicit"));
  EXPECT_EQ(v, 3);
  ASSERT_TRUE(in.nextInteger(v, "same read"));
  EXPECT_EQ(v, 4);
}

TEST(FreeFormatInput, CurrentLineAndEnd) {
  FreeFormatInput in = inputOf("1 2\n3");
  EXPECT_EQ(in.currentLine(), 1);
  EXPECT_FALSE(in.atEnd());
  int v = 0;
  in.beginRead();
  ASSERT_TRUE(in.nextInteger(v, "a"));
  EXPECT_EQ(in.currentLine(), 1);  // more values may follow on this line
  in.endRead();
  EXPECT_EQ(in.currentLine(), 2);
  EXPECT_FALSE(in.atEnd());
  ASSERT_TRUE(in.read("b", v));
  EXPECT_EQ(v, 3);
  EXPECT_EQ(in.currentLine(), 3);
  EXPECT_TRUE(in.atEnd());
}

TEST(FreeFormatInput, LoadsAFileAndReportsAMissingOne) {
  const std::string path = ::testing::TempDir() + "free_format_input_test.inp";
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("Title\r\n3, 4.5 'x y'\r\n", f);
    std::fclose(f);
  }
  FreeFormatInput in;
  ASSERT_TRUE(in.load(path));
  EXPECT_EQ(in.name(), path);
  std::string title, word;
  int n = 0;
  double r = 0.0;
  ASSERT_TRUE(in.readTextLine(title, 6, "title"));
  EXPECT_EQ(title, "Title ");
  ASSERT_TRUE(in.read("n", n, "r", r, "w", word)) << in.error().message();
  EXPECT_EQ(n, 3);
  EXPECT_EQ(r, 4.5);
  EXPECT_EQ(word, "x y");
  std::remove(path.c_str());

  FreeFormatInput missing;
  EXPECT_FALSE(missing.load(path));
  EXPECT_EQ(missing.error().message(), path + ": expected a readable file, found no such file");
}

// Arbitrary bytes must never crash the reader, and every failure must name a line of the text.
TEST(FreeFormatInput, GarbageNeverCrashes) {
  std::uint32_t seed = 12345;
  const auto nextRandom = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  const std::string alphabet = std::string("0123456789+-.eEdD,'\" \t\r\n\n\nxz") + '\0' + "\xff";
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const std::size_t size = nextRandom() % 200;
    for (std::size_t i = 0; i < size; ++i) {
      text += round % 2 == 0 ? alphabet[nextRandom() % alphabet.size()]
                             : static_cast<char>(nextRandom() & 0xFF);
    }
    int lines = 0;
    for (char ch : text) lines += ch == '\n';
    if (!text.empty() && text.back() != '\n') ++lines;
    FreeFormatInput in = inputOf(text);
    int lastLine = 1;
    for (int step = 0; step < 100 && !in.atEnd(); ++step) {
      int i = 0;
      double r = 0.0;
      std::string w;
      bool ok = false;
      switch (nextRandom() % 4) {
        case 0: ok = in.read("i", i, "r", r); break;
        case 1: ok = in.read("w", w, "i", i); break;
        case 2: ok = in.readTextLine(w, 10, "line"); break;
        default: ok = in.read("r", r); break;
      }
      if (!ok) {
        EXPECT_GE(in.error().line, 1);
        EXPECT_LE(in.error().line, lines + 1);
        EXPECT_FALSE(in.error().found.empty());
      }
      EXPECT_GE(in.currentLine(), lastLine);
      lastLine = in.currentLine();
    }
  }
}

}  // namespace
}  // namespace tavro
