// Record layouts: fixed-column records written from a layout text such as
// "(5X,'STEP ',I5,', TCUR ',F10.4)" and a list of values, with the editing rules of Fortran output.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tavro {

/// One value handed to a record layout: an integer, a real or a text.
struct LayoutValue {
  enum class Kind : std::uint8_t { Integer, Real, Text };
  Kind kind;
  long long integer = 0;
  double real = 0.0;
  std::string_view text;

  LayoutValue(int v) : kind(Kind::Integer), integer(v) {}
  LayoutValue(long v) : kind(Kind::Integer), integer(v) {}
  LayoutValue(long long v) : kind(Kind::Integer), integer(v) {}
  LayoutValue(unsigned v) : kind(Kind::Integer), integer(v) {}
  LayoutValue(double v) : kind(Kind::Real), real(v) {}
  LayoutValue(const char* v) : kind(Kind::Text), text(v) {}
  LayoutValue(std::string_view v) : kind(Kind::Text), text(v) {}
  LayoutValue(const std::string& v) : kind(Kind::Text), text(v) {}
};

/// Formats `values` through `layout` and appends the records to `out`. Every record ends with
/// '\n' except a last record left open by a trailing '\', which the next write continues.
/// Descriptors: 'text' (doubled '' inside), nX, Iw, Iw.m, Fw.d, Ew.d, Ew.dEe, kP, Gw.d, Aw, A,
/// n/, \, :, n(...) groups nested to any depth, repeat counts before descriptors. Values beyond
/// the list end the record and reuse the list from its last top-level group. A number that does
/// not fit its width comes out as w asterisks. The scale factor kP applies to the following E
/// and G fields of the same list only. An integer given to F, E or G is edited as a real; a real
/// given to I is edited after truncation toward zero; a text given to a numeric descriptor, or a
/// number given to A, comes out as w asterisks (A without width: one asterisk).
/// A layout is parsed once and cached by its address (the text is compared on each use, so a
/// reused buffer holding another layout is parsed again). A malformed layout is a programming
/// error: it aborts with a message naming the layout.
void formatRecords(std::string& out, const char* layout, std::span<const LayoutValue> values);

/// Appends `value` as Iw.m (m = 0 for plain Iw; w = 0 for the minimal width).
void appendInteger(std::string& out, int width, int minDigits, long long value);
/// Appends `value` as Fw.d (w = 0 for the minimal width).
void appendFixed(std::string& out, int width, int decimals, double value);
/// Appends `value` as Ew.d under scale factor `scale` (0 plain "0.ddd", 1 for 1P "d.ddd"),
/// with `exponentDigits` exponent digits (0 for the default: two, or three without the E).
void appendExponent(std::string& out, int width, int decimals, int scale, double value,
                    int exponentDigits = 0);
/// Appends `value` as Gw.d under scale factor `scale`.
void appendGeneral(std::string& out, int width, int decimals, int scale, double value);
/// Appends `text` as Aw: cut to its first w characters, or right-aligned in w.
void appendText(std::string& out, int width, std::string_view text);

}  // namespace tavro
