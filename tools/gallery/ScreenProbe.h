#pragma once

#include "app/MainComponent.h"
#include "ui/ZivuvButton.h"

// Puts a main component into any screen state without a controller, for
// pictures of the screens and for checking them. Reaches the component's
// private state through its probe friendship.
class MainComponentProbe
{
public:
    struct Screen
    {
        const char* name;
        ScreenState state;
        bool packageValid;
    };

    // The seven screens a user can see.
    static const Screen screens[7];

    // Shows the screen in the current language: device 1.05, package 1.10,
    // the bar at 45 %.
    static void show (MainComponent& component, const Screen& screen);

    // What a screen is made of.
    static juce::GlyphArrangement& screenText (MainComponent& c)        { return c.screenText; }
    static juce::ComboBox& languageSelector (MainComponent& c)          { return *c.langs; }
    static juce::ProgressBar& progressBar (MainComponent& c)            { return *c.progressBar; }
    static ZivuvButton& okButton (MainComponent& c)                     { return *c.okButton; }
    static ZivuvButton& cancelButton (MainComponent& c)                 { return *c.cancelButton; }
    static juce::LookAndFeel& languageLook (MainComponent& c);
};
