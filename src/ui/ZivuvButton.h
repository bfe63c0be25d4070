#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Push button that draws its own label. (Placeholder look.)
class ZivuvButton : public juce::Button
{
public:
    explicit ZivuvButton (const juce::String& name);
    ~ZivuvButton() override;

    void setFontName (const juce::String& name) { fontName = name; }
    void setFontStyle (int flags) { fontStyle = flags; }
    void refreshText (const juce::String& text);

protected:
    void paintButton (juce::Graphics& g, bool mouseOver, bool pressed) override;

private:
    int textJustification = 36;
    juce::String fontName { "<Sans-Serif>" };
    int fontStyle = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZivuvButton)
};
