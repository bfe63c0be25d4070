#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Draws the progress bar. (Placeholder: the toolkit's drawing.)
class ProgressLookAndFeel : public juce::LookAndFeel_V4
{
};
