#include "engine/dsp/TransferCurve.h"

// The table body is the generated data file, one float literal per entry.
const float transferCurve[65536] = {
#include "resources/tables/transferCurve.inc"
};
