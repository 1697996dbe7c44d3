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

/// Splits a byte stream into the payloads of its records (`records` is emptied first). False
/// (with `records` holding the whole records before it) when a frame is truncated or its two
/// byte counts disagree. A count is unsigned: the negative counts that some compilers write
/// for records split in parts read as truncated frames.
bool decodeUnformattedRecords(std::string_view bytes, std::vector<std::string>& records);

/// Reads a little-endian 4-byte integer or 8-byte real at `offset` of a record payload;
/// 0 when the payload ends before the item does.
std::int32_t unformattedInteger(std::string_view payload, std::size_t offset);
double unformattedReal(std::string_view payload, std::size_t offset);

}  // namespace tavro
