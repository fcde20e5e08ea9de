#include "editor/looks/ChangesLookAndFeel.h"

ChangesLookAndFeel::ChangesLookAndFeel() = default;
ChangesLookAndFeel::~ChangesLookAndFeel() = default;
