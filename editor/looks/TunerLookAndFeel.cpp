#include "editor/looks/TunerLookAndFeel.h"

TunerLookAndFeel::TunerLookAndFeel() = default;
TunerLookAndFeel::~TunerLookAndFeel() = default;
