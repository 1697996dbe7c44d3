// The engine's entry: one complete run in the working directory.
#pragma once

#include <cstdint>

#include "io/error_code.h"

namespace tavro {

/// The control file read from the working directory.
inline constexpr const char* kNamesFileName = "Names.dat";

/// Runs one analysis from "Names.dat" in the current working directory and returns the result
/// code: 0 completed, 4 stopped by a stop request, else the first error. Never throws.
std::int32_t runItavro();

}  // namespace tavro
