#include "engine/effects/Effects.h"
#include "engine/Pedal.h"

void effects::processCompressor (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept {}
