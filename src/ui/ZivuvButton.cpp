#include "ui/ZivuvButton.h"

ZivuvButton::ZivuvButton (const juce::String& name) : juce::Button (name) {}
ZivuvButton::~ZivuvButton() = default;

void ZivuvButton::refreshText (const juce::String& text)
{
    if (getButtonText() == text)
        repaint();
    else
        setButtonText (text);
}

void ZivuvButton::paintButton (juce::Graphics& g, bool, bool pressed)
{
    g.fillAll (findColour (juce::TextButton::buttonColourId));
    g.setColour (juce::Colour (16, 16, 16));
    g.setFont (juce::Font (fontName, juce::jmin (getHeight() * 0.8f, 13.0f), fontStyle));
    const int d = pressed ? 5 : 4;
    g.drawFittedText (getButtonText(), d, d, getWidth() - 8, getHeight() - 8,
                      juce::Justification (textJustification), 1, 0.7f);
}
