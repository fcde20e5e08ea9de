#include "editor/looks/CommandLookAndFeel.h"

CommandLookAndFeel::CommandLookAndFeel() = default;
CommandLookAndFeel::~CommandLookAndFeel() = default;
