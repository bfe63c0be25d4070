#include "ui/ProgressLookAndFeel.h"

void ProgressLookAndFeel::drawProgressBar (juce::Graphics& g, juce::ProgressBar& bar, int width, int height,
                                           double progress, const juce::String& text)
{
    g.fillAll (bar.findColour (juce::ProgressBar::backgroundColourId));

    const juce::Colour top (167, 167, 167), middle (100, 100, 100), bottom (108, 108, 108);
    juce::ColourGradient shading (top, 2.0f, 2.0f, bottom, 2.0f, (float) height - 4.0f, false);
    shading.addColour (0.5, middle);

    // No animation outside 0..1: nothing below, full above.
    const double fillWidth = juce::jlimit (0.0, (double) width - 4.0, progress * ((double) width - 4.0));

    g.setGradientFill (shading);
    g.fillRect (juce::Rectangle<float> (2.0f, 2.0f, (float) fillWidth, (float) height - 4.0f));

    if (text.isNotEmpty())
    {
        g.setColour (juce::Colours::white);
        g.setFont ((float) height * 0.8f);
        g.drawText (text, 0, 0, width, height, juce::Justification (36), false);
    }
}
