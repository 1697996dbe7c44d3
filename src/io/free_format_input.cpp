#include "io/free_format_input.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <system_error>

namespace tavro {
namespace {

constexpr std::string_view kEndOfFile = "end of file";
constexpr std::size_t kShownTokenLength = 40;  // longer offending words are cut in messages

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool endsToken(char c) { return isBlank(c) || c == ',' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The offending word as a message shows it: control bytes escaped, cut when long, and in
// apostrophes unless it is a quoted text, which shows its own quotes.
std::string quoteForMessage(std::string_view raw, bool wrap) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = wrap ? "'" : "";
  const std::size_t shown = raw.size() < kShownTokenLength ? raw.size() : kShownTokenLength;
  for (std::size_t i = 0; i < shown; ++i) {
    const auto c = static_cast<unsigned char>(raw[i]);
    if (c < 0x20 || c == 0x7F) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += static_cast<char>(c);
    }
  }
  if (shown < raw.size()) out += "...";
  if (wrap) out += '\'';
  return out;
}

// Where the digits of a real's mantissa put its magnitude: the decimal exponent of its first
// nonzero digit. Tells an overflow from an underflow when the conversion is out of range.
long long leadingDigitExponent(std::string_view mantissa, long long exponent) {
  long long intDigits = 0;
  long long position = 0;  // digits before the first nonzero one, after the point
  bool pastPoint = false;
  for (char c : mantissa) {
    if (c == '.') {
      pastPoint = true;
    } else if (isDigit(c)) {
      if (!pastPoint) {
        if (c != '0' || intDigits > 0) ++intDigits;
      } else if (intDigits == 0) {
        ++position;
        if (c != '0') break;
      }
    }
  }
  return intDigits > 0 ? exponent + intDigits - 1 : exponent - position;
}

// Checks the shape of a real: [sign] (digits [. [digits]] | . digits) [(E|D) [sign] digits].
// On success `mantissaEnd` is where the exponent letter is (or the end).
bool isRealShape(std::string_view s, std::size_t& mantissaEnd) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  mantissaEnd = i;
  if (i == s.size()) return true;
  if (s[i] != 'e' && s[i] != 'E' && s[i] != 'd' && s[i] != 'D') return false;
  ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t expDigits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++expDigits;
  return expDigits > 0 && i == s.size();
}

// Converts a real of checked shape; false when its magnitude is too large for a double.
bool convertReal(std::string_view s, std::size_t mantissaEnd, double& value) {
  // from_chars takes no leading '+' and no D exponent: hand it a cleaned copy.
  char stackBuffer[128];
  std::string heapBuffer;
  char* buffer = stackBuffer;
  if (s.size() > sizeof stackBuffer) {
    heapBuffer.resize(s.size());
    buffer = heapBuffer.data();
  }
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (i == 0 && c == '+') continue;
    if (c == 'd' || c == 'D') c = 'e';
    buffer[n++] = c;
  }
  double result = 0.0;
  const auto [end, ec] = std::from_chars(buffer, buffer + n, result, std::chars_format::general);
  if (ec == std::errc() && end == buffer + n) {
    value = result;
    return true;
  }
  if (ec != std::errc::result_out_of_range) return false;  // cannot happen for a checked shape

  long long exponent = 0;
  if (mantissaEnd < s.size()) {
    std::size_t i = mantissaEnd + 1;
    const bool negative = s[i] == '-';
    if (s[i] == '+' || s[i] == '-') ++i;
    for (; i < s.size(); ++i) {
      if (exponent < 1000000) exponent = exponent * 10 + (s[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  if (leadingDigitExponent(s.substr(0, mantissaEnd), exponent) > 0) return false;
  value = s[0] == '-' ? -0.0 : 0.0;  // too small for a double: zero
  return true;
}

}  // namespace

std::string InputError::message() const {
  std::string out = file.empty() ? std::string("input") : file;
  if (line > 0) {
    out += ", line ";
    out += std::to_string(line);
  }
  out += ": expected ";
  out += expected;
  out += ", found ";
  out += found;
  return out;
}

bool FreeFormatInput::load(const std::string& path) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    const bool missing = errno == ENOENT;
    assign(std::string(), path);
    error_ = InputError{path, 0, "a readable file", missing ? "no such file" : "it cannot be opened"};
    return false;
  }
  char chunk[65536];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  const bool readFailed = std::ferror(file) != 0;
  std::fclose(file);
  if (readFailed) {
    assign(std::string(), path);
    error_ = InputError{path, 0, "a readable file", "a read error"};
    return false;
  }
  assign(std::move(text), path);
  return true;
}

void FreeFormatInput::assign(std::string text, std::string name) {
  text_ = std::move(text);
  name_ = std::move(name);
  pos_ = 0;
  if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) text_.erase(0, 3);  // byte order mark of UTF-8
  line_ = 1;
  inRead_ = false;
  tookValue_ = false;
  commaAllowed_ = false;
  error_ = InputError{};
}

void FreeFormatInput::skipRestOfLine() {
  const std::size_t newline = text_.find('\n', pos_);
  if (newline == std::string::npos) {
    pos_ = text_.size();
    return;
  }
  pos_ = newline + 1;
  ++line_;
}

void FreeFormatInput::beginRead() {
  if (!atLineStart()) skipRestOfLine();
  inRead_ = true;
  tookValue_ = false;
  commaAllowed_ = false;
}

void FreeFormatInput::endRead() {
  // Either the line of the last value, or (no value taken) the line the read started on.
  if (!atLineStart() || !tookValue_) skipRestOfLine();
  inRead_ = false;
  tookValue_ = false;
  commaAllowed_ = false;
}

int FreeFormatInput::currentLine() const {
  return inRead_ || atLineStart() ? line_ : line_ + 1;
}

bool FreeFormatInput::atEnd() const {
  if (inRead_ || atLineStart()) return pos_ >= text_.size();
  return text_.find('\n', pos_) == std::string::npos;
}

bool FreeFormatInput::fail(int line, std::string_view kind, std::string_view what,
                           std::string_view found) {
  error_.file = name_;
  error_.line = line;
  error_.expected = kind;
  if (!what.empty()) {
    error_.expected += " for ";
    error_.expected += what;
  }
  error_.found = found;
  return false;
}

bool FreeFormatInput::failOnToken(const Token& token, std::string_view kind, std::string_view what,
                                  std::string_view note) {
  std::string found = quoteForMessage(token.raw, !token.quoted);
  found += note;
  return fail(token.line, kind, what, found);
}

bool FreeFormatInput::nextToken(Token& token, std::string_view kind, std::string_view what) {
  if (!inRead_) beginRead();
  const std::size_t size = text_.size();
  // Separators up to the value: blanks, line ends and at most one comma after a value.
  for (;;) {
    if (pos_ >= size) return fail(endOfFileLine(), kind, what, kEndOfFile);
    const char c = text_[pos_];
    if (isBlank(c)) {
      ++pos_;
    } else if (c == '\n') {
      ++pos_;
      ++line_;
    } else if (c == ',') {
      ++pos_;
      if (!commaAllowed_) return fail(line_, kind, what, "empty field");
      commaAllowed_ = false;
    } else {
      break;
    }
  }

  const std::size_t start = pos_;
  token.line = line_;
  token.quoted = false;
  const char quote = text_[start];
  if (quote == '\'' || quote == '"') {
    token.quoted = true;
    bool doubled = false;
    std::size_t i = start + 1;
    for (;;) {
      if (i >= size || text_[i] == '\n') {
        std::size_t end = i;
        if (end > start && text_[end - 1] == '\r') --end;
        pos_ = i;
        const auto raw = std::string_view(text_).substr(start, end - start);
        return fail(line_, kind, what, "unterminated text " + quoteForMessage(raw, false));
      }
      if (text_[i] == quote) {
        if (i + 1 < size && text_[i + 1] == quote) {
          doubled = true;
          i += 2;
          continue;
        }
        break;
      }
      ++i;
    }
    const std::size_t close = i;
    pos_ = close + 1;
    if (pos_ < size && !endsToken(text_[pos_])) {
      while (pos_ < size && !endsToken(text_[pos_])) ++pos_;
      token.raw = std::string_view(text_).substr(start, pos_ - start);
      return failOnToken(token, kind, what);
    }
    token.raw = std::string_view(text_).substr(start, pos_ - start);
    token.text = std::string_view(text_).substr(start + 1, close - start - 1);
    if (doubled) {
      unquoted_.clear();
      for (std::size_t k = 0; k < token.text.size(); ++k) {
        unquoted_ += token.text[k];
        if (token.text[k] == quote) ++k;  // the second of a doubled quote
      }
      token.text = unquoted_;
    }
  } else {
    while (pos_ < size && !endsToken(text_[pos_])) ++pos_;
    token.raw = std::string_view(text_).substr(start, pos_ - start);
    token.text = token.raw;
  }
  tookValue_ = true;
  commaAllowed_ = true;
  return true;
}

bool FreeFormatInput::nextInteger(int& value, std::string_view what) {
  static constexpr std::string_view kKind = "an integer";
  Token token;
  if (!nextToken(token, kKind, what)) return false;
  if (token.quoted) return failOnToken(token, kKind, what);
  // One optional sign, then digits only.
  std::string_view digits = token.raw;
  const std::size_t first = digits[0] == '+' || digits[0] == '-' ? 1 : 0;
  bool wellFormed = digits.size() > first;
  for (std::size_t i = first; wellFormed && i < digits.size(); ++i) wellFormed = isDigit(digits[i]);
  if (!wellFormed) return failOnToken(token, kKind, what);
  if (digits[0] == '+') digits.remove_prefix(1);  // from_chars takes '-' only
  int result = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
  if (ec == std::errc::result_out_of_range) return failOnToken(token, kKind, what, " (out of range)");
  if (ec != std::errc() || end != digits.data() + digits.size()) {
    return failOnToken(token, kKind, what);
  }
  value = result;
  return true;
}

bool FreeFormatInput::nextReal(double& value, std::string_view what) {
  static constexpr std::string_view kKind = "a real";
  Token token;
  if (!nextToken(token, kKind, what)) return false;
  std::size_t mantissaEnd = 0;
  if (token.quoted || !isRealShape(token.raw, mantissaEnd)) return failOnToken(token, kKind, what);
  double result = 0.0;
  if (!convertReal(token.raw, mantissaEnd, result)) {
    return failOnToken(token, kKind, what, " (out of range)");
  }
  value = result;
  return true;
}

bool FreeFormatInput::nextWord(std::string& value, std::string_view what) {
  Token token;
  if (!nextToken(token, "a text", what)) return false;
  value.assign(token.text);
  return true;
}

bool FreeFormatInput::readTextLine(std::string& value, std::size_t width, std::string_view what) {
  if (!atLineStart()) skipRestOfLine();
  inRead_ = false;
  tookValue_ = false;
  commaAllowed_ = false;
  if (pos_ >= text_.size()) return fail(endOfFileLine(), "a line", what, kEndOfFile);
  const std::size_t newline = text_.find('\n', pos_);
  std::size_t end = newline == std::string::npos ? text_.size() : newline;
  if (end > pos_ && text_[end - 1] == '\r') --end;
  const std::size_t length = end - pos_;
  value.assign(text_, pos_, length < width ? length : width);
  value.resize(width, ' ');
  pos_ = end;
  skipRestOfLine();
  return true;
}

}  // namespace tavro
