#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "ImageTools.h"
#include "platform/FontNames.h"
#include "text/TxtLoader.h"
#include "ui/LangLookAndFeel.h"

using imagetools::near;

namespace
{
    // Renders like JUCE's software renderer and notes, for every glyph,
    // which fallback font was in force while it was drawn.
    struct RecordingRenderer : juce::LowLevelGraphicsSoftwareRenderer
    {
        using juce::LowLevelGraphicsSoftwareRenderer::LowLevelGraphicsSoftwareRenderer;

        struct Glyph { int number; juce::String fallback; float x; float fontHeight; };
        std::vector<Glyph> glyphs;

        void drawGlyph (int number, const juce::AffineTransform& t) override
        {
            glyphs.push_back ({ number, juce::Font::getFallbackFontName(), t.getTranslationX(), getFont().getHeight() });
            juce::LowLevelGraphicsSoftwareRenderer::drawGlyph (number, t);
        }
    };

    struct Item
    {
        juce::String text;
        bool separator = false, active = true, highlighted = false, ticked = false;
        int width = 200, height = 22;
    };

    struct Drawn
    {
        juce::Image image;
        std::vector<RecordingRenderer::Glyph> glyphs;
    };

    class PopupItem : public testing::Test
    {
    protected:
        void SetUp() override
        {
            createTextTable();
            fontnames::setFallbackFontName ("Malgun Gothic");
            before = juce::Font::getFallbackFontName();
        }

        void TearDown() override { deleteTextTable(); }

        Drawn draw (const Item& item)
        {
            juce::Image image (juce::Image::ARGB, item.width, item.height, true);
            RecordingRenderer renderer (image);
            {
                juce::Graphics g (renderer);
                look.drawPopupMenuItem (g, { 0, 0, item.width, item.height }, item.separator, item.active,
                                        item.highlighted, item.ticked, false, item.text, {}, nullptr, nullptr);
            }
            return { image, renderer.glyphs };
        }

        LangLookAndFeel look;
        juce::String before;
    };

    bool isInk (juce::Colour c) { return c.getAlpha() > 0; }
}

TEST_F (PopupItem, ListColoursAreBlackOnWhiteWithWhiteHighlightedText)
{
    EXPECT_EQ (look.findColour (juce::PopupMenu::textColourId), juce::Colour (0xff000000));
    EXPECT_EQ (look.findColour (juce::PopupMenu::backgroundColourId), juce::Colour (0xffffffff));
    EXPECT_EQ (look.findColour (juce::PopupMenu::highlightedTextColourId), juce::Colour (0xffffffff));
}

TEST_F (PopupItem, EachLanguageNameDrawsWithItsOwnFontAsFallback)
{
    auto* texts = getTextTable();

    struct Case { juce::String text; int language; };
    const Case cases[] =
    {
        { texts->getLanguageName (11), 11 },
        { texts->getLanguageName (0), 0 },
        { texts->getLanguageName (0).toUpperCase(), 0 },
        { texts->getLanguageName (8), 8 },
        { texts->getLanguageName (9), 9 },
        { texts->getLanguageName (10), 10 },
        { texts->getLanguageName (6), 6 },
        { texts->getLanguageName (1), 1 },
    };

    for (auto& c : cases)
    {
        const auto drawn = draw ({ c.text });
        const auto expected = fontnames::resolve (texts->getFont (c.language));

        ASSERT_EQ ((int) drawn.glyphs.size(), c.text.removeCharacters (" ").length()) << c.text;

        for (auto& glyph : drawn.glyphs)
        {
            EXPECT_EQ (glyph.fallback, expected) << c.text;
            EXPECT_TRUE (fontnames::typefaceHasGlyph (*look.getPopupMenuFont().getTypefacePtr(), (juce::juce_wchar) glyph.number))
                << c.text << " has no glyph for U+" << juce::String::toHexString (glyph.number);
        }

        EXPECT_EQ (juce::Font::getFallbackFontName(), before) << "restored after " << c.text;
        EXPECT_FALSE (imagetools::boundsOf (drawn.image, isInk).isEmpty()) << c.text;
    }
}

TEST_F (PopupItem, FontShrinksToTheItemAndTextStartsAfterTheTickColumn)
{
    const auto drawn = draw ({ "English", false, true, false, false, 200, 20 });
    ASSERT_FALSE (drawn.glyphs.empty());
    EXPECT_NEAR (drawn.glyphs.front().fontHeight, 20.0f / 1.3f, 0.01f);
    EXPECT_NEAR (drawn.glyphs.front().x, 25.0f, 0.5f);

    const auto tall = draw ({ "English", false, true, false, false, 200, 30 });
    ASSERT_FALSE (tall.glyphs.empty());
    EXPECT_FLOAT_EQ (tall.glyphs.front().fontHeight, 17.0f);
}

TEST_F (PopupItem, HighlightedItemHasADarkBlueFieldAndWhiteText)
{
    const auto drawn = draw ({ "English", false, true, true });
    const juce::Colour field (0xff000040);

    EXPECT_EQ (drawn.image.getPixelAt (0, 0).getAlpha(), 0);
    EXPECT_EQ (drawn.image.getPixelAt (199, 21).getAlpha(), 0);
    EXPECT_TRUE (near (drawn.image.getPixelAt (1, 1), field, 0));
    EXPECT_TRUE (near (drawn.image.getPixelAt (198, 20), field, 0));

    const int white = imagetools::count (drawn.image, drawn.image.getBounds(),
                                         [] (juce::Colour c) { return c.getRed() > 240 && c.getBlue() > 240; });
    EXPECT_GT (white, 20);
}

TEST_F (PopupItem, InactiveItemIsFaintAndLeavesTheFallbackAlone)
{
    const auto drawn = draw ({ "(no choices)", false, false });
    ASSERT_FALSE (drawn.glyphs.empty());

    for (auto& glyph : drawn.glyphs)
        EXPECT_EQ (glyph.fallback, before);

    int maxAlpha = 0;
    for (int y = 0; y < drawn.image.getHeight(); ++y)
        for (int x = 0; x < drawn.image.getWidth(); ++x)
            maxAlpha = juce::jmax (maxAlpha, (int) drawn.image.getPixelAt (x, y).getAlpha());

    EXPECT_NEAR (maxAlpha, 77, 3);   // 0.3 of opaque
}

TEST_F (PopupItem, TickedItemShowsTheTickLeftOfTheText)
{
    const auto plain = draw ({ "English" });
    const auto ticked = draw ({ "English", false, true, false, true });
    const int lb = 22 * 5 / 4;

    EXPECT_EQ (imagetools::count (plain.image, { 0, 0, lb, 22 }, isInk), 0);
    EXPECT_GT (imagetools::count (ticked.image, { 2, 0, lb - 4, 22 }, isInk), 10);
}

TEST_F (PopupItem, SeparatorDrawsTwoLinesAndNoText)
{
    const auto drawn = draw ({ "ignored", true });
    EXPECT_TRUE (drawn.glyphs.empty());

    const auto lines = imagetools::boundsOf (drawn.image, isInk);
    EXPECT_EQ (lines.getX(), 5);
    EXPECT_EQ (lines.getRight(), 195);
    EXPECT_GE (lines.getY(), 10);
    EXPECT_LE (lines.getBottom(), 13);
    EXPECT_EQ (juce::Font::getFallbackFontName(), before);
}
