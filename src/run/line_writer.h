// The line writer: numeric report rows composed piece by piece on a channel's current line.
// A real is shown fixed-point with as many decimals as keep `digits` significant digits when
// its magnitude is moderate, and in scientific form otherwise. Every row ends with one blank.
#pragma once

#include <string>
#include <string_view>

namespace tavro {

/// Appends n blanks; nothing when n <= 0.
void writeBlanks(int channel, int n);
/// Appends the value as Iw.
void writeInteger(int channel, int width, long long value);
/// Appends the value in `width` columns, fixed or scientific (see writeRealText).
void writeReal(int channel, int width, int digits, double value);
/// One blank, the text as A10, one blank.
void writeText10(int channel, std::string_view text);
/// One blank, the text as A6, one blank.
void writeText6(int channel, std::string_view text);
void writeText1(int channel, std::string_view text);
void writeText2(int channel, std::string_view text);
void writeText3(int channel, std::string_view text);
/// One blank, then ends the line.
void endLine(int channel);

/// The field writeReal appends, into `out`: zero, not-a-number and magnitudes below 1.0E-50 as
/// 0.0 in F(width).(digits); magnitudes at or below 10^(3-digits) or at or above 10^digits as
/// 1PE(width).(digits); otherwise F(width).(digits-k), k the decimal exponent, or 1PE when that
/// asks for more than digits+2 decimals.
void appendReal(std::string& out, int width, int digits, double value);

}  // namespace tavro
