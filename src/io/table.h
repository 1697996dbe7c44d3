// Fixed-capacity tables addressed by 1-based row numbers, as the input file numbers its rows.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>

#if !defined(NDEBUG) && !defined(TAVRO_CHECKED_TABLES)
#define TAVRO_CHECKED_TABLES 1
#endif

namespace tavro {

[[noreturn]] void tableIndexFailure(long index, long capacity);

/// A table of N rows numbered 1..N. Out-of-range rows abort in debug and sanitizer builds.
template <class T, std::size_t N>
struct Table {
  std::array<T, N> rows{};

  static constexpr int capacity = static_cast<int>(N);

  T& operator[](long row) {
    check(row);
    return rows[static_cast<std::size_t>(row - 1)];
  }
  const T& operator[](long row) const {
    check(row);
    return rows[static_cast<std::size_t>(row - 1)];
  }
  T* begin() { return rows.data(); }
  T* end() { return rows.data() + N; }
  const T* begin() const { return rows.data(); }
  const T* end() const { return rows.data() + N; }
  void fill(const T& value) { rows.fill(value); }

 private:
  static void check([[maybe_unused]] long row) {
#if TAVRO_CHECKED_TABLES
    if (row < 1 || row > static_cast<long>(N)) tableIndexFailure(row, static_cast<long>(N));
#endif
  }
};

}  // namespace tavro
