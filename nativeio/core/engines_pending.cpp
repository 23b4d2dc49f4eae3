// Engines this build does not carry yet: none at present. A new entry point
// may park a stub here that makes the look-ups of a run and answers -101.
#include "nativeio/core/engines.h"
