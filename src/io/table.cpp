#include "io/table.h"

#include <cstdio>
#include <cstdlib>

namespace tavro {

void tableIndexFailure(long index, long capacity) {
  std::fprintf(stderr, "tavro: table row %ld outside 1..%ld\n", index, capacity);
  std::abort();
}

}  // namespace tavro
