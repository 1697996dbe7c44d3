#include "run/line_writer.h"

#include <cmath>
#include <string>

#include "io/channels.h"
#include "io/record_layout.h"

namespace tavro {
namespace {

// One scratch line reused by every piece, so composing a row allocates nothing.
std::string& scratch() {
  thread_local std::string text;
  text.clear();
  return text;
}

void appendTextField(int channel, int width, std::string_view text, bool padded) {
  std::string& out = scratch();
  if (padded) out.push_back(' ');
  appendText(out, width, text);
  if (padded) out.push_back(' ');
  channelAppend(channel, out);
}

}  // namespace

void appendReal(std::string& out, int width, int digits, double value) {
  const double magnitude = std::fabs(value);
  if (value == 0.0 || std::isnan(value) || magnitude < 1.0E-50) {
    appendFixed(out, width, digits, 0.0);
    return;
  }
  const double lower = std::pow(10.0, 3 - digits);
  const double upper = std::pow(10.0, digits);
  if (magnitude <= lower || magnitude >= upper) {
    appendExponent(out, width, digits, 1, value);
    return;
  }
  // The decimal exponent: the integer part of log10|v| truncated toward zero, one less when
  // that part is negative (k = 0 for 0.1 < |v| < 10, k = -2 for 0.01 < |v| < 0.1).
  int k = static_cast<int>(std::log10(magnitude));
  if (k < 0) k -= 1;
  const int decimals = digits - k;
  if (decimals > digits + 2) {
    appendExponent(out, width, digits, 1, value);
    return;
  }
  appendFixed(out, width, decimals, value);
}

void writeBlanks(int channel, int n) {
  if (n <= 0) return;
  std::string& out = scratch();
  out.append(static_cast<std::size_t>(n), ' ');
  channelAppend(channel, out);
}

void writeInteger(int channel, int width, long long value) {
  std::string& out = scratch();
  appendInteger(out, width, 0, value);
  channelAppend(channel, out);
}

void writeReal(int channel, int width, int digits, double value) {
  std::string& out = scratch();
  appendReal(out, width, digits, value);
  channelAppend(channel, out);
}

void writeText10(int channel, std::string_view text) { appendTextField(channel, 10, text, true); }
void writeText6(int channel, std::string_view text) { appendTextField(channel, 6, text, true); }
void writeText1(int channel, std::string_view text) { appendTextField(channel, 1, text, false); }
void writeText2(int channel, std::string_view text) { appendTextField(channel, 2, text, false); }
void writeText3(int channel, std::string_view text) { appendTextField(channel, 3, text, false); }

void endLine(int channel) { channelAppend(channel, " \n"); }

}  // namespace tavro
