// Record layouts: a layout text is parsed once into a flat list of items (groups and repeat
// counts expanded, adjacent texts and blanks merged) and then run over the values of each write.
#include "io/record_layout.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

namespace tavro {
namespace {

// Largest digit counts a field may ask for (d of F/E/G, m of I) and largest exponent width.
constexpr int kMaxDigits = 160;
constexpr int kMaxExponentDigits = 9;
// Largest width or count written in a layout, and the most items a layout may expand to.
constexpr int kMaxNumber = 100000;
constexpr std::size_t kMaxItems = 1u << 20;

// ---------------------------------------------------------------------------------------------
// Field editing. Every routine appends exactly one field; a value that does not fit its width
// comes out as asterisks.

void appendStars(std::string& out, int width) { out.append(static_cast<std::size_t>(width), '*'); }

[[noreturn]] void fieldFailure(const char* what, int width, int digits) {
  std::fprintf(stderr, "tavro: record field %s with width %d and %d digits is out of range\n", what,
               width, digits);
  std::abort();
}

// Places a signed numeric body right-aligned in `width` (0: minimal width). `zeroOptional` says
// the body starts with a "0" before the point that may be dropped when the width is short (and
// is dropped in a minimal-width field). Returns false, appending nothing, when it cannot fit.
bool placeNumber(std::string& out, int width, bool negative, const char* body, int length,
                 bool zeroOptional) {
  int full = length + (negative ? 1 : 0);
  if (width == 0 && zeroOptional) {
    ++body;
    --length;
  } else if (width != 0 && full > width) {
    if (!zeroOptional || full - 1 > width) return false;
    ++body;
    --length;
  }
  full = length + (negative ? 1 : 0);
  if (width > full) out.append(static_cast<std::size_t>(width - full), ' ');
  if (negative) out.push_back('-');
  out.append(body, static_cast<std::size_t>(length));
  return true;
}

// Infinity and NaN, as Fortran output writes them: "Infinity" when the width allows, else "Inf".
void appendNonFinite(std::string& out, int width, double value) {
  const char* text;
  if (std::isnan(value)) {
    text = "NaN";
  } else if (std::signbit(value)) {
    text = width >= 9 ? "-Infinity" : "-Inf";
  } else {
    text = width >= 8 ? "Infinity" : "Inf";
  }
  const int length = static_cast<int>(std::strlen(text));
  if (width == 0) {
    out.append(text);
  } else if (length > width) {
    appendStars(out, width);
  } else {
    out.append(static_cast<std::size_t>(width - length), ' ');
    out.append(text);
  }
}

// Correctly rounded decimal digits (ties to even on the exact binary value, as Fortran output
// and printf round). The buffers hold 309 integer digits, the point and kMaxDigits decimals.
using DigitBuffer = char[512];

int fixedDigits(DigitBuffer& buf, double magnitude, int decimals) {
  const auto r = std::to_chars(buf, buf + sizeof(DigitBuffer) - 2, magnitude,
                               std::chars_format::fixed, decimals);
  int length = static_cast<int>(r.ptr - buf);
  if (decimals == 0) buf[length++] = '.';
  return length;
}

// The `significant` leading digits of a nonzero magnitude into `digits`, and the exponent X of
// the value written as 0.ddd × 10^X after rounding.
int scientificDigits(char* digits, double magnitude, int significant) {
  DigitBuffer buf;
  const auto r = std::to_chars(buf, buf + sizeof(buf), magnitude, std::chars_format::scientific,
                               significant - 1);
  // Layout of the result: d[.ddd]e±XX
  digits[0] = buf[0];
  const char* p = buf + 1;
  if (*p == '.') ++p;
  for (int i = 1; i < significant; ++i) digits[i] = *p++;
  ++p;  // 'e'
  const bool negativeExponent = *p++ == '-';
  int exponent = 0;
  for (; p < r.ptr; ++p) exponent = exponent * 10 + (*p - '0');
  return (negativeExponent ? -exponent : exponent) + 1;
}

bool tryFixed(std::string& out, int width, int decimals, double value) {
  if (!std::isfinite(value)) {
    appendNonFinite(out, width, value);
    return true;
  }
  const double magnitude = std::fabs(value);
  // An integer part of more than `width` digits cannot fit: skip the digit generation.
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (width > 0 && width <= 22 && magnitude >= kPowersOfTen[width]) return false;
  DigitBuffer buf;
  const int length = fixedDigits(buf, magnitude, decimals);
  return placeNumber(out, width, std::signbit(value), buf, length, decimals > 0 && buf[0] == '0');
}

void fixedField(std::string& out, int width, int decimals, double value) {
  if (width < 0 || decimals < 0 || decimals > kMaxDigits) fieldFailure("F", width, decimals);
  if (!tryFixed(out, width, decimals, value)) appendStars(out, width);
}

// Ew.dEe under scale factor k: with k <= 0 the mantissa is "0." then -k zeros and d+k digits;
// with k > 0 it has k digits before the point and d-k+1 after. An exponent beyond two digits
// (when e is not given) drops the "E".
void exponentField(std::string& out, int width, int decimals, int scale, double value,
                   int exponentDigits) {
  if (width < 1 || decimals < 0 || decimals > kMaxDigits || exponentDigits < 0 ||
      exponentDigits > kMaxExponentDigits) {
    fieldFailure("E", width, decimals);
  }
  if (!std::isfinite(value)) return appendNonFinite(out, width, value);
  const int significant = scale <= 0 ? decimals + scale : decimals + 1;
  if (significant < 1 || scale > decimals + 1) return appendStars(out, width);

  char digits[kMaxDigits + 2];
  int exponent = 0;
  const double magnitude = std::fabs(value);
  if (magnitude == 0.0) {
    std::memset(digits, '0', static_cast<std::size_t>(significant));
  } else {
    exponent = scientificDigits(digits, magnitude, significant) - scale;
  }

  char body[2 * kMaxDigits + kMaxExponentDigits + 8];
  int n = 0;
  if (scale <= 0) {
    body[n++] = '0';
    body[n++] = '.';
    for (int i = 0; i < -scale; ++i) body[n++] = '0';
    std::memcpy(body + n, digits, static_cast<std::size_t>(significant));
    n += significant;
  } else {
    std::memcpy(body + n, digits, static_cast<std::size_t>(scale));
    n += scale;
    body[n++] = '.';
    std::memcpy(body + n, digits + scale, static_cast<std::size_t>(significant - scale));
    n += significant - scale;
  }

  const int absExponent = exponent < 0 ? -exponent : exponent;
  int shown = exponentDigits;
  if (exponentDigits == 0) {
    if (absExponent > 999) return appendStars(out, width);
    shown = absExponent > 99 ? 3 : 2;
    if (shown == 2) body[n++] = 'E';
  } else {
    int limit = 1;
    for (int i = 0; i < exponentDigits; ++i) limit *= 10;
    if (absExponent >= limit) return appendStars(out, width);
    body[n++] = 'E';
  }
  body[n++] = exponent < 0 ? '-' : '+';
  for (int i = shown - 1, e = absExponent; i >= 0; --i, e /= 10) body[n + i] = char('0' + e % 10);
  n += shown;

  if (!placeNumber(out, width, std::signbit(value), body, n, scale <= 0)) {
    appendStars(out, width);
  }
}

// Gw.dEe: zero and magnitudes that round (to d significant digits) into [0.1, 10^d) are written
// in fixed point with d significant digits followed by e+2 blanks (four when e is not given);
// any other value as Ew.dEe under the scale factor.
void generalField(std::string& out, int width, int decimals, int scale, double value,
                  int exponentDigits) {
  if (width < 1 || decimals < 0 || decimals > kMaxDigits || exponentDigits < 0 ||
      exponentDigits > kMaxExponentDigits) {
    fieldFailure("G", width, decimals);
  }
  if (!std::isfinite(value)) return appendNonFinite(out, width, value);
  if (decimals == 0) return appendStars(out, width);
  const int trailing = exponentDigits == 0 ? 4 : exponentDigits + 2;
  const int fixedWidth = width - trailing;
  bool fits;
  if (value == 0.0) {
    fits = fixedWidth >= 1 && tryFixed(out, fixedWidth, decimals - 1, value);
  } else {
    // The fixed form Fw.(d-X) shows the same d rounded digits, so they are placed directly.
    char digits[kMaxDigits + 2];
    const int exponent = scientificDigits(digits, std::fabs(value), decimals);
    if (exponent < 0 || exponent > decimals) {
      return exponentField(out, width, decimals, scale, value, exponentDigits);
    }
    char body[kMaxDigits + 4];
    int n = 0;
    if (exponent == 0) body[n++] = '0';
    std::memcpy(body + n, digits, static_cast<std::size_t>(exponent));
    n += exponent;
    body[n++] = '.';
    std::memcpy(body + n, digits + exponent, static_cast<std::size_t>(decimals - exponent));
    n += decimals - exponent;
    fits = fixedWidth >= 1 &&
           placeNumber(out, fixedWidth, std::signbit(value), body, n, exponent == 0);
  }
  if (!fits) return appendStars(out, width);
  out.append(static_cast<std::size_t>(trailing), ' ');
}

// Iw.m from the digits of a magnitude (`count` may be 0: the zero of Iw.0 shows no digit).
void placeInteger(std::string& out, int width, int minDigits, bool negative, const char* digits,
                  int count) {
  const int shown = count > minDigits ? count : minDigits;
  const int length = shown + (negative ? 1 : 0);
  if (width == 0) width = length > 0 ? length : 1;
  if (length > width) return appendStars(out, width);
  out.append(static_cast<std::size_t>(width - length), ' ');
  if (negative) out.push_back('-');
  out.append(static_cast<std::size_t>(shown - count), '0');
  out.append(digits, static_cast<std::size_t>(count));
}

void integerField(std::string& out, int width, int minDigits, long long value) {
  if (width < 0 || minDigits < 0 || minDigits > kMaxDigits) fieldFailure("I", width, minDigits);
  unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
  char buf[24];
  char* p = buf + sizeof(buf);
  while (magnitude != 0) {
    *--p = char('0' + magnitude % 10);
    magnitude /= 10;
  }
  placeInteger(out, width, minDigits, value < 0, p, static_cast<int>(buf + sizeof(buf) - p));
}

// A real given to I: truncated toward zero; beyond the range of long long, written from its
// decimal digits; Infinity and NaN have no integer and come out as asterisks.
void integerFieldOfReal(std::string& out, int width, int minDigits, double value) {
  if (!std::isfinite(value)) return appendStars(out, width == 0 ? 1 : width);
  const double truncated = std::trunc(value);
  static constexpr double kTwo63 = 9223372036854775808.0;
  if (std::fabs(truncated) < kTwo63) {
    return integerField(out, width, minDigits, static_cast<long long>(truncated));
  }
  DigitBuffer buf;
  const auto r =
      std::to_chars(buf, buf + sizeof(buf), std::fabs(truncated), std::chars_format::fixed, 0);
  placeInteger(out, width, minDigits, truncated < 0, buf, static_cast<int>(r.ptr - buf));
}

void textField(std::string& out, int width, std::string_view text) {
  if (width < 0) fieldFailure("A", width, 0);
  const auto w = static_cast<std::size_t>(width);
  if (text.size() >= w) {
    out.append(text.substr(0, w));
  } else {
    out.append(w - text.size(), ' ');
    out.append(text);
  }
}

// ---------------------------------------------------------------------------------------------
// Parsed layouts.

enum class Op : std::uint8_t {
  Text,       // a = offset in the text pool, b = length (texts and blanks merged)
  Blanks,     // a = count (only while parsing; merged into Text afterwards)
  Slash,      // a = number of records ended
  Scale,      // a = k of kP
  Colon,      // ends the list when no values remain
  Backslash,  // leaves the record open when the list ends here
  Integer,    // a = w, b = m
  Fixed,      // a = w, b = d
  Exponent,   // a = w, b = d, c = e
  General,    // a = w, b = d, c = e
  Chars,      // a = w (Aw)
  CharsAll,   // A without width
};

struct Item {
  Op op;
  int a = 0;
  int b = 0;
  int c = 0;
};

bool isData(Op op) { return op >= Op::Integer; }

struct ParsedLayout {
  std::string source;  // the layout text, compared on every use of the cache entry
  std::string texts;   // pool of the Text items
  std::vector<Item> items;
  std::size_t reversion = 0;  // where the list is reused when values remain at its end
  bool dataAfterReversion = false;
};

class LayoutParser {
 public:
  explicit LayoutParser(const char* layout) : layout_(layout) {
    // Blanks outside quotes are not part of the layout; keep each character's column for messages.
    char quote = 0;
    for (std::size_t i = 0; layout[i] != '\0'; ++i) {
      const char ch = layout[i];
      if (quote == 0 && (ch == ' ' || ch == '\t')) continue;
      if (quote == 0 && (ch == '\'' || ch == '"')) {
        quote = ch;
      } else if (ch == quote) {
        quote = 0;  // a doubled quote closes and reopens, which the text scanner undoes
      }
      text_.push_back(ch);
      columns_.push_back(i + 1);
    }
  }

  std::unique_ptr<ParsedLayout> parse() {
    if (peek() != '(') fail("a layout starts with '('");
    ++pos_;
    std::vector<Item> items;
    std::size_t reversion = 0;
    parseList(items, &reversion);
    if (pos_ != text_.size()) fail("text after the closing ')'");
    return finish(items, reversion);
  }

 private:
  [[noreturn]] void fail(const char* why) const {
    const std::size_t column = pos_ < columns_.size() ? columns_[pos_] : std::strlen(layout_) + 1;
    std::fprintf(stderr, "tavro: malformed record layout \"%s\": %s (column %zu)\n", layout_, why,
                 column);
    std::abort();
  }

  char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  char peekUpper() const {
    const char ch = peek();
    return ch >= 'a' && ch <= 'z' ? char(ch - 'a' + 'A') : ch;
  }
  bool isDigit() const { return peek() >= '0' && peek() <= '9'; }

  int number() {
    if (!isDigit()) fail("a number is missing");
    int value = 0;
    while (isDigit()) {
      value = value * 10 + (peek() - '0');
      if (value > kMaxNumber) fail("number too large");
      ++pos_;
    }
    return value;
  }

  // ".d" after a width; required for F, E and G.
  int decimals() {
    if (peek() != '.') fail("'.d' is missing");
    ++pos_;
    const int d = number();
    if (d > kMaxDigits) fail("too many digits");
    return d;
  }

  // Optional "Ee" after Ew.d and Gw.d.
  int exponentDigits() {
    if (peekUpper() != 'E') return 0;
    ++pos_;
    const int e = number();
    if (e < 1 || e > kMaxExponentDigits) fail("exponent digits out of range");
    return e;
  }

  std::string quoted() {
    const char quote = peek();
    ++pos_;
    std::string text;
    for (;;) {
      if (pos_ >= text_.size()) fail("unterminated text");
      const char ch = text_[pos_++];
      if (ch != quote) {
        text.push_back(ch);
      } else if (peek() == quote) {
        text.push_back(quote);
        ++pos_;
      } else {
        return text;
      }
    }
  }

  void append(std::vector<Item>& items, const Item& item, int times) {
    if (items.size() + static_cast<std::size_t>(times) > kMaxItems) fail("layout too large");
    items.insert(items.end(), static_cast<std::size_t>(times), item);
  }

  // Parses items up to the matching ')' (consumed). At the top level `reversion` receives the
  // position of the last group's expansion.
  void parseList(std::vector<Item>& items, std::size_t* reversion) {
    for (;;) {
      while (peek() == ',') ++pos_;
      const char first = peek();
      if (first == ')') {
        ++pos_;
        return;
      }
      if (first == '\0') fail("missing ')'");

      bool negative = false;
      if (first == '-' || first == '+') {
        negative = first == '-';
        ++pos_;
        if (!isDigit()) fail("a sign stands only before kP");
      }
      const bool counted = isDigit();
      const int count = counted ? number() : 1;
      const char ch = peekUpper();
      if (ch == 'P') {
        if (!counted) fail("P needs a scale factor");
        ++pos_;
        append(items, Item{Op::Scale, negative ? -count : count}, 1);
        continue;
      }
      if (negative || first == '+') fail("a sign stands only before kP");
      if (counted && count == 0) fail("a count must be positive");

      switch (ch) {
        case '(': {
          ++pos_;
          std::vector<Item> group;
          parseList(group, nullptr);
          if (reversion != nullptr) *reversion = items.size();
          for (int i = 0; i < count; ++i) {
            if (items.size() + group.size() > kMaxItems) fail("layout too large");
            items.insert(items.end(), group.begin(), group.end());
          }
          break;
        }
        case '\'':
        case '"':
          texts_.push_back(quoted());
          append(items, Item{Op::Text, static_cast<int>(texts_.size() - 1)}, count);
          break;
        case 'X':
          ++pos_;
          append(items, Item{Op::Blanks, count}, 1);
          break;
        case '/':
          ++pos_;
          append(items, Item{Op::Slash, count}, 1);
          break;
        case ':':
        case '\\':
          if (counted) fail("no count stands before ':' or '\\'");
          ++pos_;
          append(items, Item{ch == ':' ? Op::Colon : Op::Backslash}, 1);
          break;
        case 'I': {
          ++pos_;
          const int w = number();
          int m = 1;
          if (peek() == '.') {
            ++pos_;
            m = number();
            if (m > kMaxDigits || (w > 0 && m > w)) fail("Iw.m needs m <= w");
          }
          append(items, Item{Op::Integer, w, m}, count);
          break;
        }
        case 'F': {
          ++pos_;
          const int w = number();
          const int d = decimals();
          append(items, Item{Op::Fixed, w, d}, count);
          break;
        }
        case 'E':
        case 'G': {
          ++pos_;
          const int w = number();
          if (w == 0) fail("E and G need a positive width");
          const int d = decimals();
          if (ch == 'G' && d == 0) fail("G needs at least one digit");
          const int e = exponentDigits();
          append(items, Item{ch == 'E' ? Op::Exponent : Op::General, w, d, e}, count);
          break;
        }
        case 'A':
          ++pos_;
          if (isDigit()) {
            const int w = number();
            if (w == 0) fail("Aw needs a positive width");
            append(items, Item{Op::Chars, w}, count);
          } else {
            append(items, Item{Op::CharsAll}, count);
          }
          break;
        default:
          fail("unknown descriptor");
      }
    }
  }

  // Merges runs of texts and blanks into single Text items over one pool (never across the
  // reversion point, where the list may be entered again).
  std::unique_ptr<ParsedLayout> finish(const std::vector<Item>& items, std::size_t reversion) {
    auto parsed = std::make_unique<ParsedLayout>();
    parsed->source = layout_;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Item& item = items[i];
      if (i == reversion) parsed->reversion = parsed->items.size();
      if (item.op != Op::Text && item.op != Op::Blanks) {
        parsed->items.push_back(item);
        if (isData(item.op) && i >= reversion) parsed->dataAfterReversion = true;
        continue;
      }
      const bool extend =
          i != reversion && !parsed->items.empty() && parsed->items.back().op == Op::Text;
      if (!extend) {
        parsed->items.push_back(Item{Op::Text, static_cast<int>(parsed->texts.size()), 0});
      }
      const std::size_t before = parsed->texts.size();
      if (item.op == Op::Text) {
        parsed->texts.append(texts_[static_cast<std::size_t>(item.a)]);
      } else {
        parsed->texts.append(static_cast<std::size_t>(item.a), ' ');
      }
      parsed->items.back().b += static_cast<int>(parsed->texts.size() - before);
    }
    if (reversion >= items.size()) parsed->reversion = parsed->items.size();
    return parsed;
  }

  const char* layout_;
  std::string text_;
  std::vector<std::size_t> columns_;
  std::vector<std::string> texts_;
  std::size_t pos_ = 0;
};

const ParsedLayout& parsedLayout(const char* layout) {
  static std::unordered_map<const char*, std::unique_ptr<ParsedLayout>> cache;
  auto found = cache.find(layout);
  if (found != cache.end() && std::strcmp(found->second->source.c_str(), layout) == 0) {
    return *found->second;
  }
  std::unique_ptr<ParsedLayout> parsed = LayoutParser(layout).parse();
  const ParsedLayout& result = *parsed;
  cache.insert_or_assign(layout, std::move(parsed));
  return result;
}

double realOf(const LayoutValue& v) {
  return v.kind == LayoutValue::Kind::Integer ? static_cast<double>(v.integer) : v.real;
}

void formatValue(std::string& out, const Item& item, int scale, const LayoutValue& v) {
  const bool text = v.kind == LayoutValue::Kind::Text;
  switch (item.op) {
    case Op::Integer:
      if (text) return appendStars(out, item.a == 0 ? 1 : item.a);
      if (v.kind == LayoutValue::Kind::Real) return integerFieldOfReal(out, item.a, item.b, v.real);
      return integerField(out, item.a, item.b, v.integer);
    case Op::Fixed:
      if (text) return appendStars(out, item.a == 0 ? 1 : item.a);
      return fixedField(out, item.a, item.b, realOf(v));
    case Op::Exponent:
      if (text) return appendStars(out, item.a);
      return exponentField(out, item.a, item.b, scale, realOf(v), item.c);
    case Op::General:
      if (text) return appendStars(out, item.a);
      return generalField(out, item.a, item.b, scale, realOf(v), item.c);
    case Op::Chars:
      if (!text) return appendStars(out, item.a);
      return textField(out, item.a, v.text);
    case Op::CharsAll:
      if (!text) return appendStars(out, 1);
      out.append(v.text);
      return;
    default:
      return;
  }
}

[[noreturn]] void tooManyValues(const char* layout) {
  std::fprintf(stderr, "tavro: record layout \"%s\" has no field for the values that remain\n",
               layout);
  std::abort();
}

}  // namespace

void formatRecords(std::string& out, const char* layout, std::span<const LayoutValue> values) {
  if (layout == nullptr) {
    std::fprintf(stderr, "tavro: record layout is null\n");
    std::abort();
  }
  const ParsedLayout& parsed = parsedLayout(layout);
  const Item* const items = parsed.items.data();
  const std::size_t count = parsed.items.size();
  const char* const texts = parsed.texts.data();
  std::size_t next = 0;
  std::size_t pos = 0;
  int scale = 0;
  bool keepOpen = false;
  for (;;) {
    if (pos == count) {
      if (next == values.size()) break;
      if (!parsed.dataAfterReversion) tooManyValues(layout);
      out.push_back('\n');
      keepOpen = false;
      pos = parsed.reversion;
      continue;
    }
    const Item& item = items[pos++];
    switch (item.op) {
      case Op::Text:
        out.append(texts + item.a, static_cast<std::size_t>(item.b));
        keepOpen = false;
        break;
      case Op::Slash:
        out.append(static_cast<std::size_t>(item.a), '\n');
        keepOpen = false;
        break;
      case Op::Scale:
        scale = item.a;
        break;
      case Op::Backslash:
        keepOpen = true;
        break;
      case Op::Colon:
        if (next == values.size()) goto listEnded;
        break;
      case Op::Blanks:  // merged into Text when parsed
        break;
      default:
        if (next == values.size()) goto listEnded;
        formatValue(out, item, scale, values[next++]);
        keepOpen = false;
        break;
    }
  }
listEnded:
  if (!keepOpen) out.push_back('\n');
}

void appendInteger(std::string& out, int width, int minDigits, long long value) {
  integerField(out, width, minDigits > 0 ? minDigits : 1, value);
}

void appendFixed(std::string& out, int width, int decimals, double value) {
  fixedField(out, width, decimals, value);
}

void appendExponent(std::string& out, int width, int decimals, int scale, double value,
                    int exponentDigits) {
  exponentField(out, width, decimals, scale, value, exponentDigits);
}

void appendGeneral(std::string& out, int width, int decimals, int scale, double value) {
  generalField(out, width, decimals, scale, value, 0);
}

void appendText(std::string& out, int width, std::string_view text) { textField(out, width, text); }

}  // namespace tavro
