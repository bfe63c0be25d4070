#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The one top-level window: fixed size, always on top, native title bar and
// no close box; its whole client area is the main component.
class MainWindow : public juce::ResizableWindow
{
public:
    MainWindow();
    ~MainWindow() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
