#include "platform/FontNames.h"
#include "platform/FontEquivalents.h"
#include "platform/GlyphFallback.h"

// Windows has the fonts the texts name, each with every character its
// language needs, so names pass through unchanged there. Wine has none of
// those fonts but lists the host's: there a name maps to an installed
// equivalent, and since such a font may lack characters (Latin letters in a
// Chinese font), the typefaces borrow what their font lacks.
namespace fontnames
{
namespace
{
    bool textFontsMissing()
    {
        static const bool missing = []
        {
            for (auto& equivalent : equivalents)
                if (! installedFamilies().contains (equivalent.windowsName))
                    return true;

            return false;
        }();

        return missing;
    }

    // A typeface of the system numbers its glyphs by the font's own glyph
    // index; DirectWrite gives glyph 0 for a character the font lacks, GDI
    // (which JUCE uses when DirectWrite does not know the font) 0xffff.
    int glyphOf (juce::Typeface& typeface, juce::juce_wchar c)
    {
        juce::Array<int> glyphs;
        juce::Array<float> offsets;
        typeface.getGlyphPositions (juce::String::charToString (c), glyphs, offsets);
        return (glyphs.size() == 1 && glyphs[0] != 0 && glyphs[0] != 0xffff) ? glyphs[0] : -1;
    }
}

bool systemGlyphOutline (juce::Typeface& typeface, juce::juce_wchar c, juce::Path& outline)
{
    if (isBlank (c))
        return true;

    const int glyph = glyphOf (typeface, c);
    return glyph >= 0 && typeface.getOutlineForGlyph (glyph, outline);
}

void setFallbackFontName (const juce::String& name)
{
    if (textFontsMissing())
        installGlyphFallback();

    useFallbackFamily (resolve (name));
}

bool typefaceHasGlyph (juce::Typeface& typeface, juce::juce_wchar character)
{
    if (isBlank (character))
        return true;

    // A wrapped typeface numbers its glyphs by character, and has one where
    // it could borrow it.
    if (dynamic_cast<juce::CustomTypeface*> (&typeface) != nullptr)
    {
        juce::Path outline;
        return typeface.getOutlineForGlyph ((int) character, outline);
    }

    return glyphOf (typeface, character) >= 0;
}
}
