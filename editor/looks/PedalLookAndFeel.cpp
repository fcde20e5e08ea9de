#include "editor/looks/PedalLookAndFeel.h"

PedalLookAndFeel::PedalLookAndFeel() = default;
PedalLookAndFeel::~PedalLookAndFeel() = default;
