// The two exported symbols of libtavro.so; everything else in the library is hidden.
#include <cstdint>

#include "run/itavro.h"

extern "C" {

__attribute__((visibility("default"))) std::int32_t ITAVRO(std::int32_t /*unused*/) {
  return tavro::runItavro();
}

__attribute__((visibility("default"))) std::int32_t _ITAVRO(std::int32_t /*unused*/) {
  return tavro::runItavro();
}

}  // extern "C"
