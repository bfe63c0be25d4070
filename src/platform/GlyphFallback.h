#pragma once

#include <juce_graphics/juce_graphics.h>

// Characters a font lacks, drawn from a font that has them.
//
// JUCE draws a character missing from the font in use from its fallback font
// only where the system's typefaces number their glyphs by character (not on
// Windows), and on Linux not even there: it draws the font's missing-glyph
// box. Once installed, every typeface JUCE creates is wrapped so that such a
// character is borrowed from the fallback font or, failing that, from the
// first of a few broad installed families that has it.
namespace fontnames
{
    // Installs the wrapping (JUCE's default look hands out the typefaces);
    // does nothing when it is installed already.
    void installGlyphFallback();

    // Makes the family JUCE's fallback font; glyphs rendered through the old
    // one are dropped, since JUCE caches them by font, not by where they came
    // from.
    void useFallbackFamily (const juce::String& family);

    // Blanks have no outline of their own; the ideographic space is one too.
    bool isBlank (juce::juce_wchar c);

    // The outline of the character's own glyph in a typeface of the system
    // (not a wrapped one); false where the font lacks it. A blank has an
    // empty outline and counts as present. One per system.
    bool systemGlyphOutline (juce::Typeface& typeface, juce::juce_wchar c, juce::Path& outline);
}
