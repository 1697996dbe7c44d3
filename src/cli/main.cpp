#include "run/itavro.h"

int main() { return tavro::runItavro(); }
