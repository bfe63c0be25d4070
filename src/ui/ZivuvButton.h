#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class BtnLookAndFeel;

// Push button with a flat bevelled face and a label in a font of its own.
class ZivuvButton : public juce::Button
{
public:
    explicit ZivuvButton (const juce::String& name);
    ~ZivuvButton() override;

    // Take effect at the next paint.
    void setFontName (const juce::String& name) { fontName = name; }
    void setFontStyle (int flags) { fontStyle = flags; }

    // Sets the label, or just repaints when it is already that text, so a
    // font set just before shows either way.
    void refreshText (const juce::String& text);

    const juce::String& getFontName() const noexcept { return fontName; }
    int getFontStyle() const noexcept { return fontStyle; }

    // The label font for the button's current height.
    juce::Font getLabelFont() const;

protected:
    void paintButton (juce::Graphics& g, bool mouseOver, bool pressed) override;

private:
    BtnLookAndFeel* buttonLook = nullptr;
    int textJustification = 36;
    juce::String fontName { "<Sans-Serif>" };
    int fontStyle = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZivuvButton)
};
