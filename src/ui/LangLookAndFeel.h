#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Draws the items of the language list. (Placeholder: the toolkit's drawing.)
class LangLookAndFeel : public juce::LookAndFeel_V4
{
};
