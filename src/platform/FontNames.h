#pragma once

#include <juce_graphics/juce_graphics.h>

// The texts name their fonts the way Windows knows them ("Arial",
// "Microsoft YaHei", ...). Everything that hands a typeface or fallback name
// to JUCE passes it through here, so that each system draws with a font it
// actually has.
namespace fontnames
{
    // The family JUCE should load for a font name as the texts give it.
    // Names this system has (and JUCE's own placeholders such as
    // "<Sans-Serif>") come back unchanged.
    juce::String resolve (const juce::String& name);

    // Makes the font of that name JUCE's fallback font, the one it draws any
    // character from that the font in use lacks. Glyphs drawn through the
    // old fallback are dropped when the name changes.
    void setFallbackFontName (const juce::String& name);

    // True when the typeface has a glyph of its own for the character (not
    // a missing-glyph box borrowed from elsewhere). Spaces count as present.
    bool typefaceHasGlyph (juce::Typeface& typeface, juce::juce_wchar character);
}
