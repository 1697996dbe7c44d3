#include "io/unformatted.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavro {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(Unformatted, TwoRecordsRoundTripWithExactBytes) {
  std::string out;
  const LayoutValue first[] = {1, 2.5};
  const LayoutValue second[] = {"AB", -2};
  encodeUnformattedRecord(out, first);
  encodeUnformattedRecord(out, second);

  // 2.5 is 0x4004000000000000 as an IEEE double; -2 is 0xFFFFFFFE as a 32-bit integer.
  const std::string expected =
      bytes({12, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x04, 0x40, 12, 0, 0, 0}) +
      bytes({6, 0, 0, 0, 'A', 'B', 0xFE, 0xFF, 0xFF, 0xFF, 6, 0, 0, 0});
  EXPECT_EQ(out, expected);

  std::vector<std::string> records;
  ASSERT_TRUE(decodeUnformattedRecords(out, records));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(unformattedInteger(records[0], 0), 1);
  EXPECT_EQ(unformattedReal(records[0], 4), 2.5);
  EXPECT_EQ(records[1].substr(0, 2), "AB");
  EXPECT_EQ(unformattedInteger(records[1], 2), -2);
}

TEST(Unformatted, ItemEncodings) {
  struct Case {
    const char* label;
    LayoutValue value;
    std::string payload;
  };
  const std::vector<Case> cases = {
      {"large integer", 0x12345678, bytes({0x78, 0x56, 0x34, 0x12})},
      {"smallest integer", -2147483647 - 1, bytes({0, 0, 0, 0x80})},
      {"integer beyond 32 bits keeps its low 32 bits", 0x100000005LL, bytes({5, 0, 0, 0})},
      {"one", 1.0, bytes({0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
      {"minus zero", -0.0, bytes({0, 0, 0, 0, 0, 0, 0, 0x80})},
      {"a tenth", 0.1, bytes({0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F})},
      {"text with a NUL", std::string_view("a\0b", 3), bytes({'a', 0, 'b'})},
      {"empty text", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string out;
    encodeUnformattedRecord(out, std::span<const LayoutValue>(&c.value, 1));
    const std::string count = bytes({static_cast<int>(c.payload.size()), 0, 0, 0});
    EXPECT_EQ(out, count + c.payload + count);
  }
}

TEST(Unformatted, EmptyRecordAndEmptyStream) {
  std::string out;
  encodeUnformattedRecord(out, {});
  EXPECT_EQ(out, std::string(8, '\0'));
  std::vector<std::string> records = {"stale"};
  ASSERT_TRUE(decodeUnformattedRecords(out, records));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(records[0].empty());
  ASSERT_TRUE(decodeUnformattedRecords("", records));
  EXPECT_TRUE(records.empty());
}

TEST(Unformatted, CorruptedFramesKeepTheRecordsBeforeThem) {
  std::string good;
  const LayoutValue values[] = {7, 3.0};
  encodeUnformattedRecord(good, values);  // 20 bytes
  struct Case {
    const char* label;
    std::string stream;
    std::size_t recordsKept;
  };
  const std::vector<Case> cases = {
      {"head cut short", good + bytes({12, 0, 0}), 1},
      {"payload cut short", good + good.substr(0, 10), 1},
      {"tail count missing", good + good.substr(0, 16), 1},
      {"tail count disagrees", good.substr(0, 16) + bytes({13, 0, 0, 0}), 0},
      {"count beyond the stream", bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}), 0},
      {"trailing stray byte", good + good + bytes({0}), 2},
      {"count larger than payload", good + bytes({16, 0, 0, 0}) + good.substr(4, 12) +
                                        bytes({16, 0, 0, 0}), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<std::string> records;
    EXPECT_FALSE(decodeUnformattedRecords(c.stream, records));
    ASSERT_EQ(records.size(), c.recordsKept);
    for (const std::string& r : records) {
      EXPECT_EQ(unformattedInteger(r, 0), 7);
      EXPECT_EQ(unformattedReal(r, 4), 3.0);
    }
  }
}

TEST(Unformatted, ItemsPastThePayloadReadAsZero) {
  const std::string payload = bytes({1, 0, 0, 0, 2, 0, 0});
  EXPECT_EQ(unformattedInteger(payload, 0), 1);
  EXPECT_EQ(unformattedInteger(payload, 4), 0);
  EXPECT_EQ(unformattedInteger(payload, 100), 0);
  EXPECT_EQ(unformattedReal(payload, 0), 0.0);
}

}  // namespace
}  // namespace tavro
