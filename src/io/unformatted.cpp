#include "io/unformatted.h"

#include <cstring>

namespace tavro {
namespace {

constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kIntegerBytes = 4;
constexpr std::size_t kRealBytes = 8;

void appendLittleEndian(std::string& out, std::uint64_t bits, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i) out += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::uint64_t readLittleEndian(std::string_view bytes, std::size_t offset, std::size_t count) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < count; ++i) {
    bits |= std::uint64_t{static_cast<unsigned char>(bytes[offset + i])} << (8 * i);
  }
  return bits;
}

std::size_t payloadSize(std::span<const LayoutValue> values) {
  std::size_t size = 0;
  for (const LayoutValue& v : values) {
    switch (v.kind) {
      case LayoutValue::Kind::Integer: size += kIntegerBytes; break;
      case LayoutValue::Kind::Real: size += kRealBytes; break;
      case LayoutValue::Kind::Text: size += v.text.size(); break;
    }
  }
  return size;
}

}  // namespace

void encodeUnformattedRecord(std::string& out, std::span<const LayoutValue> values) {
  const std::size_t size = payloadSize(values);
  out.reserve(out.size() + size + 2 * kCountBytes);
  appendLittleEndian(out, size, kCountBytes);
  for (const LayoutValue& v : values) {
    switch (v.kind) {
      case LayoutValue::Kind::Integer:
        // Items are 32-bit integers: the value is taken modulo 2^32, as a 4-byte store would.
        appendLittleEndian(out, static_cast<std::uint32_t>(v.integer), kIntegerBytes);
        break;
      case LayoutValue::Kind::Real: {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v.real, sizeof bits);
        appendLittleEndian(out, bits, kRealBytes);
        break;
      }
      case LayoutValue::Kind::Text: out.append(v.text); break;
    }
  }
  appendLittleEndian(out, size, kCountBytes);
}

bool decodeUnformattedRecords(std::string_view bytes, std::vector<std::string>& records) {
  records.clear();
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    if (bytes.size() - offset < kCountBytes) return false;
    const std::size_t size = readLittleEndian(bytes, offset, kCountBytes);
    const std::size_t left = bytes.size() - offset - kCountBytes;
    if (left < kCountBytes || left - kCountBytes < size) return false;
    const std::size_t tail = offset + kCountBytes + size;
    if (readLittleEndian(bytes, tail, kCountBytes) != size) return false;
    records.emplace_back(bytes.substr(offset + kCountBytes, size));
    offset = tail + kCountBytes;
  }
  return true;
}

std::int32_t unformattedInteger(std::string_view payload, std::size_t offset) {
  if (offset > payload.size() || payload.size() - offset < kIntegerBytes) return 0;
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(readLittleEndian(payload, offset, kIntegerBytes)));
}

double unformattedReal(std::string_view payload, std::size_t offset) {
  if (offset > payload.size() || payload.size() - offset < kRealBytes) return 0.0;
  const std::uint64_t bits = readLittleEndian(payload, offset, kRealBytes);
  double value = 0.0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace tavro
