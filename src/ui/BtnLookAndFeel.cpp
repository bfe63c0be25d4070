#include "ui/BtnLookAndFeel.h"
#include "ui/BevelBox.h"

void BtnLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& colour,
                                           bool, bool pressed)
{
    // A connected edge meets its neighbour: almost no inset and no rounding.
    auto inset = [] (bool connected) { return connected ? 0.1f : 1.25f; };

    const float left   = inset (button.isConnectedOnLeft());
    const float right  = inset (button.isConnectedOnRight());
    const float top    = inset (button.isConnectedOnTop());
    const float bottom = inset (button.isConnectedOnBottom());

    bevelbox::drawBevelBox (g, left, top,
                            (float) button.getWidth() - left - right,
                            (float) button.getHeight() - top - bottom,
                            colour, 2.5f, -1.0f,
                            button.isConnectedOnLeft(), button.isConnectedOnRight(),
                            button.isConnectedOnTop(), button.isConnectedOnBottom(),
                            pressed);
}
