#include "engine/effects/Effects.h"
#include "engine/Pedal.h"

void effects::processDigitalReverb (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept {}
