#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Keeps JUCE's windows drawing where the system does not deliver the display's vertical blank.
//
// JUCE 7.0.5 on Windows holds every repaint until the next vertical blank, which it waits for on a
// thread of its own. Under Wine that wait is not implemented, so after the first paint nothing is
// drawn again; and there the drop shadow JUCE draws around a window with its own frame hangs the
// message thread when it is taken down. People do run Windows updaters under Wine, so:
//
//   startRepaintPump()     once on the message thread, before the first window: where needed it
//                          flushes pending repaints 60 times a second;
//   prepareWindow (w)      in a top-level window's constructor, before it is shown: where needed
//                          it turns JUCE's drop shadow off (the native title bar has none anyway);
//   stopRepaintPump()      in shutdown, before the message loop goes.
//
// Elsewhere all three do nothing.
void startRepaintPump();
void stopRepaintPump();
void prepareWindow (juce::TopLevelWindow& window);

// True where the pump runs (exposed for tests).
bool repaintPumpNeeded();
