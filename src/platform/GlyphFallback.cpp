#include "platform/GlyphFallback.h"
#include "platform/FontEquivalents.h"
#include "platform/FontNames.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace fontnames
{
namespace
{
    // Where a character missing from both the font and the fallback is
    // looked for: Latin and Cyrillic, Chinese and kana, Hangul, Japanese.
    const char* const lastResortFamilies[] =
    {
        "Liberation Sans", "DejaVu Sans", "Droid Sans Fallback", "NanumGothic", "IPAGothic"
    };

    bool isInstalled (const juce::String& family)
    {
        return installedFamilies().contains (family);
    }

    //==========================================================================
    // A typeface that takes its glyphs from a system typeface, and borrows a
    // character that typeface lacks from the fallback font or the last-resort
    // families, rather than drawing a box or nothing. Every glyph it hands out
    // is its own, numbered by character, so JUCE never mixes its glyph numbers
    // with those of another typeface.
    class GlyphFallbackTypeface : public juce::CustomTypeface
    {
    public:
        explicit GlyphFallbackTypeface (juce::Typeface::Ptr source)
            : inner (std::move (source))
        {
            setCharacteristics (inner->getName(), inner->getStyle(), inner->getAscent(), L' ');
        }

        juce::Typeface& getInner() const noexcept { return *inner; }

    protected:
        bool loadGlyphIfPossible (juce::juce_wchar c) override
        {
            if (copyGlyph (*inner, c))
                return true;

            if (auto fallback = juce::Typeface::getFallbackTypeface())
            {
                if (fallback.get() != this)
                {
                    auto* wrapped = dynamic_cast<GlyphFallbackTypeface*> (fallback.get());

                    if (copyGlyph (wrapped != nullptr ? wrapped->getInner() : *fallback, c))
                        return true;
                }
            }

            if (lastResorts.isEmpty())
                for (auto* family : lastResortFamilies)
                    if (isInstalled (family) && inner->getName() != family)
                        lastResorts.add (juce::Typeface::createSystemTypefaceFor (juce::Font (family, 10.0f, juce::Font::plain)));

            for (auto* source : lastResorts)
                if (source != nullptr && copyGlyph (*source, c))
                    return true;

            return false;
        }

    private:
        bool copyGlyph (juce::Typeface& source, juce::juce_wchar c)
        {
            juce::Path outline;

            if (! systemGlyphOutline (source, c, outline))
                return false;

            addGlyph (c, outline, source.getStringWidth (juce::String::charToString (c)));
            return true;
        }

        juce::Typeface::Ptr inner;
        juce::ReferenceCountedArray<juce::Typeface> lastResorts;

        JUCE_DECLARE_NON_COPYABLE (GlyphFallbackTypeface)
    };

    //==========================================================================
    // JUCE asks the default look for every typeface it creates; this one
    // hands out the wrapped typefaces under the resolved names and otherwise
    // draws exactly like JUCE's own default look.
    class FallbackTypefaceLook : public juce::LookAndFeel_V4,
                                 private juce::DeletedAtShutdown
    {
    public:
        ~FallbackTypefaceLook() override
        {
            if (&juce::LookAndFeel::getDefaultLookAndFeel() == this)
                juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
        }

        juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override
        {
            juce::Font resolved (font);
            resolved.setTypefaceName (resolve (font.getTypefaceName()));
            return new GlyphFallbackTypeface (juce::LookAndFeel_V4::getTypefaceForFont (resolved));
        }
    };
}

//==============================================================================
bool isBlank (juce::juce_wchar c)
{
    return juce::CharacterFunctions::isWhitespace (c) || c == 0x3000;
}

void useFallbackFamily (const juce::String& family)
{
    if (juce::Font::getFallbackFontName() == family)
        return;

    juce::Font::setFallbackFontName (family);
    juce::Typeface::clearTypefaceCache();
}

void installGlyphFallback()
{
    if (dynamic_cast<FallbackTypefaceLook*> (&juce::LookAndFeel::getDefaultLookAndFeel()) != nullptr)
        return;

    juce::LookAndFeel::setDefaultLookAndFeel (new FallbackTypefaceLook());
    juce::Typeface::clearTypefaceCache();
}
}
