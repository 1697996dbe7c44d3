// Unformatted sequential records: each record framed by its byte count, a 4-byte little-endian
// integer, before and after it (the framing of common Fortran compilers); items are 4-byte
// integers, 8-byte reals (both little-endian) and raw text bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io/record_layout.h"

namespace tavro {

/// Appends one framed record holding `values` to `out`.
void encodeUnformattedRecord(std::string& out, std::span<const LayoutValue> values);

/// Splits a byte stream into the payloads of its records. False (with `records` holding the
/// whole records before it) when a frame is truncated or its two byte counts disagree.
bool decodeUnformattedRecords(std::string_view bytes, std::vector<std::string>& records);

/// Reads a little-endian 4-byte integer or 8-byte real at `offset` of a record payload.
std::int32_t unformattedInteger(std::string_view payload, std::size_t offset);
double unformattedReal(std::string_view payload, std::size_t offset);

}  // namespace tavro
