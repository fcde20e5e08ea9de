#include "engine/effects/Effects.h"
#include "engine/Pedal.h"

void effects::processDelay (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept {}
