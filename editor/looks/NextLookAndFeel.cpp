#include "editor/looks/NextLookAndFeel.h"

NextLookAndFeel::NextLookAndFeel() = default;
NextLookAndFeel::~NextLookAndFeel() = default;
