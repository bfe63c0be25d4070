#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Draws the items of the language list: a dark-blue highlight, and each
// language's name with that language's font as the fallback font, so names
// in scripts the list font lacks still show.
class LangLookAndFeel : public juce::LookAndFeel_V4
{
public:
    LangLookAndFeel();

    void drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area,
                            bool isSeparator, bool isActive, bool isHighlighted, bool isTicked,
                            bool hasSubMenu, const juce::String& text, const juce::String& shortcutKeyText,
                            const juce::Drawable* icon, const juce::Colour* textColour) override;
};
