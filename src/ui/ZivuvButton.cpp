#include "ui/ZivuvButton.h"
#include "ui/BtnLookAndFeel.h"
#include "platform/FontNames.h"

ZivuvButton::ZivuvButton (const juce::String& name)
    : juce::Button (name)
{
    buttonLook = new BtnLookAndFeel();
    setLookAndFeel (buttonLook);
    setColour (juce::TextButton::buttonColourId, juce::Colours::black);
    setColour (juce::TextButton::buttonOnColourId, juce::Colours::black);
    setConnectedEdges (ConnectedOnLeft | ConnectedOnRight | ConnectedOnTop | ConnectedOnBottom);
}

ZivuvButton::~ZivuvButton()
{
    // The look must not be in use when it goes.
    setLookAndFeel (nullptr);
    delete buttonLook;
    buttonLook = nullptr;
}

void ZivuvButton::refreshText (const juce::String& text)
{
    if (getButtonText() == text)
        repaint();
    else
        setButtonText (text);
}

juce::Font ZivuvButton::getLabelFont() const
{
    const float height = juce::jmin ((float) getHeight() * 0.8f, 13.0f);
    return juce::Font (fontnames::resolve (fontName), height, fontStyle);
}

void ZivuvButton::paintButton (juce::Graphics& g, bool mouseOver, bool pressed)
{
    const auto colourId = getToggleState() ? juce::TextButton::buttonOnColourId
                                           : juce::TextButton::buttonColourId;
    buttonLook->drawButtonBackground (g, *this, findColour (colourId), mouseOver, pressed);

    g.setFont (getLabelFont());
    g.setColour (juce::Colour (16, 16, 16));

    // The label sinks one pixel with the face.
    const int d = pressed ? 5 : 4;
    g.drawFittedText (getButtonText(), d, d, getWidth() - 8, getHeight() - 8,
                      juce::Justification (textJustification), 1, 0.7f);
}
