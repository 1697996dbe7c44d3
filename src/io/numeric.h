// Numeric helpers shared by every subsystem.
#pragma once

namespace tavro {

/// A constant that the original computation held in single precision, widened to double:
/// single(0.1f) is 0.10000000149011612.
constexpr double single(float v) { return v; }

}  // namespace tavro
