#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Draws a button's background as a flat bevelled box whose light and dark
// edge lines swap while the button is pressed.
class BtnLookAndFeel : public juce::LookAndFeel_V4
{
public:
    BtnLookAndFeel() = default;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& colour,
                               bool mouseOver, bool pressed) override;
};
