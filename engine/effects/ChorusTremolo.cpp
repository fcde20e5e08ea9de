#include "engine/effects/Effects.h"
#include "engine/Pedal.h"

void effects::processVibratoChorus (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept {}
void effects::processTremolo (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept {}
