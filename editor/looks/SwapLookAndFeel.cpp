#include "editor/looks/SwapLookAndFeel.h"

SwapLookAndFeel::SwapLookAndFeel() = default;
SwapLookAndFeel::~SwapLookAndFeel() = default;
