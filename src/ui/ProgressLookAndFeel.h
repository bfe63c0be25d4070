#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Draws the progress bar as a dark field with a grey, vertically shaded fill
// growing from the left and the percentage in white.
class ProgressLookAndFeel : public juce::LookAndFeel_V4
{
public:
    ProgressLookAndFeel() = default;

    void drawProgressBar (juce::Graphics& g, juce::ProgressBar& bar, int width, int height,
                          double progress, const juce::String& text) override;
};
