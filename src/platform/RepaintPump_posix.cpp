#include "platform/RepaintPump.h"

// X11 delivers repaints by itself, and JUCE's drop shadow works there.
bool repaintPumpNeeded()                    { return false; }
void startRepaintPump()                     {}
void stopRepaintPump()                      {}
void prepareWindow (juce::TopLevelWindow&)  {}
