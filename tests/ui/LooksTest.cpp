#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "ImageTools.h"
#include "ui/BevelBox.h"
#include "ui/ProgressLookAndFeel.h"
#include "ui/ZivuvButton.h"

using imagetools::near;

namespace
{
    const juce::Colour grey (234, 234, 234);

    juce::Image snapshotOf (ZivuvButton& button, bool pressed)
    {
        button.setState (pressed ? juce::Button::buttonDown : juce::Button::buttonNormal);
        return button.createComponentSnapshot (button.getLocalBounds(), true, 1.0f);
    }

    bool isLabelInk (juce::Colour c) { return c.getRed() < 120 && c.getRed() == c.getBlue() && c.getAlpha() == 255; }
}

TEST (ButtonLook, EdgeLinesSwapAndTheLabelSinksWhenPressed)
{
    ZivuvButton button ("OK");
    button.setColour (juce::TextButton::buttonColourId, grey);
    button.setColour (juce::TextButton::buttonOnColourId, grey);
    button.setFontStyle (1);
    button.setBounds (0, 0, 100, 20);

    const auto released = snapshotOf (button, false);
    const auto pressed = snapshotOf (button, true);

    struct Edge { const char* name; int x, y; juce::Colour whenReleased; };
    const Edge edges[] =
    {
        { "top",    50,  0, juce::Colours::white },
        { "left",    0, 10, juce::Colours::white },
        { "bottom", 50, 19, juce::Colours::black },
        { "right",  99, 10, juce::Colours::black },
    };

    for (auto& e : edges)
    {
        const auto whenPressed = e.whenReleased == juce::Colours::white ? juce::Colours::black : juce::Colours::white;
        EXPECT_TRUE (near (released.getPixelAt (e.x, e.y), e.whenReleased)) << e.name << " released";
        EXPECT_TRUE (near (pressed.getPixelAt (e.x, e.y), whenPressed)) << e.name << " pressed";
    }

    // The face is the button colour; all four edges connected give square corners.
    EXPECT_TRUE (near (released.getPixelAt (8, 10), grey));
    EXPECT_TRUE (near (released.getPixelAt (0, 0), juce::Colours::white));

    const auto up = imagetools::boundsOf (released.getClippedImage ({ 3, 3, 94, 14 }), isLabelInk);
    const auto down = imagetools::boundsOf (pressed.getClippedImage ({ 3, 3, 94, 14 }), isLabelInk);
    ASSERT_FALSE (up.isEmpty());
    EXPECT_EQ (down.getPosition(), up.getPosition() + juce::Point<int> (1, 1));
    EXPECT_EQ (down.getWidth(), up.getWidth());
}

TEST (ButtonLook, LabelFontIsCappedAtThirteenPixels)
{
    struct Case { int height; float font; };
    const Case cases[] = { { 20, 13.0f }, { 100, 13.0f }, { 15, 12.0f }, { 10, 8.0f } };

    ZivuvButton button ("OK");
    button.setFontName ("Arial");
    button.setFontStyle (1);

    for (auto& c : cases)
    {
        button.setSize (100, c.height);
        const auto font = button.getLabelFont();
        EXPECT_FLOAT_EQ (font.getHeight(), c.font) << "button height " << c.height;
        EXPECT_TRUE (font.isBold());
    }
}

TEST (ButtonLook, RefreshTextSetsOnlyADifferentText)
{
    ZivuvButton button ("OK");
    EXPECT_EQ (button.getButtonText(), "OK");
    button.refreshText ("OK");
    EXPECT_EQ (button.getButtonText(), "OK");
    button.refreshText ("Start");
    EXPECT_EQ (button.getButtonText(), "Start");
    EXPECT_EQ (button.getFontName(), "<Sans-Serif>");
}

TEST (BevelBox, CornersFollowTheConnectedEdges)
{
    auto draw = [] (bool flat, float inset)
    {
        juce::Image image (juce::Image::ARGB, 100, 20, true);
        juce::Graphics g (image);
        bevelbox::drawBevelBox (g, inset, inset, 100.0f - 2 * inset, 20.0f - 2 * inset, grey, 2.5f, -1.0f,
                                flat, flat, flat, flat, false);
        return image;
    };

    const auto square = draw (true, 0.1f);
    EXPECT_EQ (square.getPixelAt (0, 0).getAlpha(), 255);
    EXPECT_EQ (square.getPixelAt (99, 19).getAlpha(), 255);

    // Nothing connected: a lozenge with fully rounded ends.
    const auto lozenge = draw (false, 1.25f);
    EXPECT_EQ (lozenge.getPixelAt (1, 1).getAlpha(), 0);
    EXPECT_EQ (lozenge.getPixelAt (98, 18).getAlpha(), 0);
    EXPECT_GT (lozenge.getPixelAt (1, 10).getAlpha(), 200);
    EXPECT_GT (lozenge.getPixelAt (50, 1).getAlpha(), 200);
    EXPECT_TRUE (near (lozenge.getPixelAt (50, 10), grey));
}

TEST (BevelBox, BoxNoLargerThanTheLineDrawsNothing)
{
    juce::Image image (juce::Image::ARGB, 10, 10, true);
    juce::Graphics g (image);
    bevelbox::drawBevelBox (g, 1, 1, 2.5f, 8, grey, 2.5f, -1.0f, true, true, true, true, false);
    bevelbox::drawBevelBox (g, 1, 1, 8, 2.0f, grey, 2.5f, -1.0f, true, true, true, true, true);
    EXPECT_TRUE (imagetools::boundsOf (image, [] (juce::Colour c) { return c.getAlpha() != 0; }).isEmpty());
}

//==============================================================================
namespace
{
    juce::Image drawBar (double progress, const juce::String& text)
    {
        ProgressLookAndFeel look;
        double value = progress;
        juce::ProgressBar bar (value);
        bar.setColour (juce::ProgressBar::backgroundColourId, juce::Colour (8, 8, 8));
        bar.setColour (juce::ProgressBar::foregroundColourId, juce::Colour (61, 61, 61));
        bar.setSize (380, 20);

        juce::Image image (juce::Image::ARGB, 380, 20, true);
        juce::Graphics g (image);
        look.drawProgressBar (g, bar, 380, 20, progress, text);
        return image;
    }

    bool isFill (juce::Colour c) { return c.getRed() > 30 && c.getRed() < 200; }
}

TEST (ProgressLook, FillIsClampedToTheField)
{
    struct Case { double progress; juce::Rectangle<int> fill; };
    const Case cases[] =
    {
        { 0.5,  { 2, 2, 188, 16 } },
        { -1.0, {} },
        { 0.0,  {} },
        { 2.0,  { 2, 2, 376, 16 } },
        { 1.0,  { 2, 2, 376, 16 } },
    };

    for (auto& c : cases)
    {
        const auto image = drawBar (c.progress, {});
        EXPECT_EQ (imagetools::boundsOf (image, isFill), c.fill) << "progress " << c.progress;
        EXPECT_TRUE (near (image.getPixelAt (379, 0), juce::Colour (8, 8, 8)));
    }
}

TEST (ProgressLook, ShadingIsLightAtTheTopAndDarkestInTheMiddle)
{
    const auto image = drawBar (1.0, {});
    const int top = image.getPixelAt (100, 2).getRed();
    const int middle = image.getPixelAt (100, 9).getRed();
    const int bottom = image.getPixelAt (100, 17).getRed();

    EXPECT_NEAR (top, 167, 8);
    EXPECT_NEAR (middle, 100, 6);
    EXPECT_NEAR (bottom, 108, 3);
    EXPECT_GT (top, bottom);
}

TEST (ProgressLook, PercentageIsWhiteAndCentred)
{
    auto isWhite = [] (juce::Colour c) { return c.getRed() > 230 && c.getGreen() > 230; };

    EXPECT_TRUE (imagetools::boundsOf (drawBar (0.3, {}), isWhite).isEmpty());

    const auto text = imagetools::boundsOf (drawBar (0.0, "45%"), isWhite);
    ASSERT_FALSE (text.isEmpty());
    EXPECT_NEAR (text.getCentreX(), 190, 2);
    EXPECT_NEAR (text.getCentreY(), 10, 2);
    EXPECT_GE (text.getHeight(), 10);   // a 16-pixel font: digits about 11 high
}
