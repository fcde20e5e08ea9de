#include "editor/looks/PreviousLookAndFeel.h"

PreviousLookAndFeel::PreviousLookAndFeel() = default;
PreviousLookAndFeel::~PreviousLookAndFeel() = default;
