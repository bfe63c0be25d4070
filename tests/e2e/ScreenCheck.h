#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

#include "app/ScreenState.h"

class MainComponent;

namespace e2e
{
    // Pictures of the screens as the program's own component draws them, at
    // any size, for comparison with the real window. The component lives in
    // the test process; its state is set directly and nothing is pumped, so
    // no device notification of the test's own emulator ever reaches it.
    class ExpectedScreens
    {
    public:
        ExpectedScreens();
        ~ExpectedScreens();

        // Device 1.05 and package 1.10, as with the default emulator and the
        // sample package. An invalid package shows the package error screen in
        // every state but SelectLanguage.
        juce::Image render (ScreenState state, bool packageValid, int width, int height);

        // The window title in the language the program picks here.
        juce::String title() const;

    private:
        std::unique_ptr<MainComponent> component;
    };

    struct Comparison
    {
        bool sameSize = false;
        int differing = 0;     // pixels off by more than the per-channel tolerance
        juce::Image diff;      // differing pixels in red over a faded copy of the expected
    };

    // Pixels inside `ignore` are left out (the progress bar, whose fill moves).
    Comparison compare (const juce::Image& actual, const juce::Image& expected,
                        juce::Rectangle<int> ignore = {});

    // A few stray pixels are tolerated (anti-aliasing at glyph edges).
    bool isMatch (const Comparison& c);

    // Writes <name>-actual.png, <name>-expected.png and <name>-diff.png into the
    // folder and returns a line naming them.
    juce::String saveMismatch (const juce::File& folder, const juce::String& name,
                               const juce::Image& actual, const juce::Image& expected,
                               const Comparison& c);

    // Where the progress bar sits in a content of that size.
    inline juce::Rectangle<int> barBounds (int width, int height)
    {
        return { 20, (height - 20) / 2, width - 40, 20 };
    }

    // How much of the bar's track is filled, 0 to 1, read from the pixels:
    // the fill is a light grey gradient over the near-black track; the white
    // percentage text is not counted either way.
    double barFill (const juce::Image& window, juce::Rectangle<int> bar);
}
