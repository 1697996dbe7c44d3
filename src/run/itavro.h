// The engine's entry: one complete run in the working directory.
#pragma once

#include <cstdint>

namespace tavro {

/// Runs one analysis from "Names.dat" in the current working directory and returns the result
/// code. Never throws.
std::int32_t runItavro();

}  // namespace tavro
