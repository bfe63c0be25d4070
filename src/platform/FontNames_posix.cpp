#include "platform/FontNames.h"
#include "platform/GlyphFallback.h"

// JUCE on Linux loads fonts by their exact family name only, and it draws a
// character that an existing font lacks as that font's missing-glyph box
// instead of asking the fallback font. Two things put that right:
//  - the Windows names of the texts map to installed families of the same
//    kind (metric-compatible where there is one);
//  - every typeface JUCE creates is wrapped so that a character its font
//    lacks is borrowed from a font that has it.
namespace fontnames
{
namespace
{
    // The outline of a character a typeface certainly lacks: its missing-glyph box.
    constexpr juce::juce_wchar certainlyMissing = 0x10fffd;

    // Linux typefaces number their glyphs by character and hand out the
    // missing-glyph box for a character they lack.
    bool outlineOfCharacter (juce::Typeface& typeface, juce::juce_wchar c, juce::Path& outline)
    {
        if (! typeface.getOutlineForGlyph ((int) c, outline) || outline.isEmpty())
            return false;

        juce::Path missing;
        typeface.getOutlineForGlyph ((int) certainlyMissing, missing);
        return missing.isEmpty() || missing.toString() != outline.toString();
    }
}

bool systemGlyphOutline (juce::Typeface& typeface, juce::juce_wchar c, juce::Path& outline)
{
    return isBlank (c) || outlineOfCharacter (typeface, c, outline);
}

void setFallbackFontName (const juce::String& name)
{
    installGlyphFallback();
    useFallbackFamily (resolve (name));
}

bool typefaceHasGlyph (juce::Typeface& typeface, juce::juce_wchar character)
{
    juce::Path outline;
    return isBlank (character) || outlineOfCharacter (typeface, character, outline);
}
}
