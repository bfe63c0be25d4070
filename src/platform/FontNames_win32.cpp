#include "platform/FontNames.h"

// Windows has the fonts the texts name, and draws any character a font lacks
// from the fallback font by itself.
namespace fontnames
{
    // Blanks have no outline of their own; the ideographic space is one too.
    static bool isBlank (juce::juce_wchar c)
    {
        return juce::CharacterFunctions::isWhitespace (c) || c == 0x3000;
    }

    juce::String resolve (const juce::String& name)
    {
        return name;
    }

    void setFallbackFontName (const juce::String& name)
    {
        if (juce::Font::getFallbackFontName() == name)
            return;

        juce::Font::setFallbackFontName (name);
        juce::Typeface::clearTypefaceCache();
    }

    bool typefaceHasGlyph (juce::Typeface& typeface, juce::juce_wchar character)
    {
        if (isBlank (character))
            return true;

        juce::Array<int> glyphs;
        juce::Array<float> offsets;
        typeface.getGlyphPositions (juce::String::charToString (character), glyphs, offsets);
        return glyphs.size() == 1 && glyphs[0] != 0;
    }
}
