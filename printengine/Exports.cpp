// The library's export table: the three C entry points of Dorvex32.h.
#include "Dorvex32.h"
