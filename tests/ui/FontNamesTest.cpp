#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "platform/FontNames.h"

TEST (FontNames, WindowsNamesResolveToInstalledFamilies)
{
    const auto installed = juce::Font::findAllTypefaceNames();

    for (auto* name : { "Arial", "Microsoft YaHei", "Malgun Gothic", "MS UI Gothic" })
    {
        const auto family = fontnames::resolve (name);
        EXPECT_TRUE (installed.contains (family)) << name << " -> " << family;
    }

    // Where Arial itself is missing, its metric-compatible twin.
    EXPECT_EQ (fontnames::resolve ("Arial"), installed.contains ("Arial") ? "Arial" : "Liberation Sans");
    EXPECT_EQ (fontnames::resolve ("<Sans-Serif>"), "<Sans-Serif>");
    EXPECT_EQ (fontnames::resolve ("No Such Font"), "No Such Font");
    EXPECT_EQ (fontnames::resolve ("DejaVu Sans"), "DejaVu Sans");
}

TEST (FontNames, ResolvedFontsHaveTheirScripts)
{
    struct Case { const char* name; const char* sample; };
    const Case cases[] =
    {
        { "Arial",           "Aa\xd0\x96\xc3\xa7" },                     // Latin, Cyrillic
        { "Microsoft YaHei", "\xe7\xae\x80\xe9\xab\x94" },               // simplified and traditional
        { "Malgun Gothic",   "\xed\x95\x9c\xea\xb5\xad" },               // Hangul
        { "MS UI Gothic",    "\xe6\x97\xa5\xe3\x81\xae\xe3\x82\xa2" },   // kanji, kana
    };

    for (auto& c : cases)
    {
        auto typeface = juce::Typeface::createSystemTypefaceFor (juce::Font (fontnames::resolve (c.name), 13.0f, 0));
        const auto sample = juce::String::fromUTF8 (c.sample);

        for (auto ch : sample)
            EXPECT_TRUE (fontnames::typefaceHasGlyph (*typeface, ch)) << c.name << " U+" << juce::String::toHexString ((int) ch);
    }

    auto latin = juce::Typeface::createSystemTypefaceFor (juce::Font ("Liberation Sans", 13.0f, 0));
    EXPECT_FALSE (fontnames::typefaceHasGlyph (*latin, 0x65e5));
}

TEST (FontNames, CharactersAFontLacksComeFromTheFallback)
{
    fontnames::setFallbackFontName ("MS UI Gothic");
    EXPECT_EQ (juce::Font::getFallbackFontName(), fontnames::resolve ("MS UI Gothic"));

    // Latin text font, Japanese characters: no missing-glyph boxes.
    const juce::Font font (fontnames::resolve ("Arial"), 13.0f, 0);
    for (auto ch : juce::String::fromUTF8 ("A\xe6\x97\xa5\xe6\x9c\xac"))
        EXPECT_TRUE (fontnames::typefaceHasGlyph (*font.getTypefacePtr(), ch));

    // And a CJK font without Latin letters still shows them.
    fontnames::setFallbackFontName ("Microsoft YaHei");
    const juce::Font chinese (fontnames::resolve ("Microsoft YaHei"), 13.0f, 0);
    for (auto ch : juce::String ("KMX-Q7 SHIFT"))
        EXPECT_TRUE (fontnames::typefaceHasGlyph (*chinese.getTypefacePtr(), ch)) << (char) ch;

    fontnames::setFallbackFontName ("Arial");
}
