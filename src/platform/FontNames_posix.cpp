#include "platform/FontNames.h"

#include <juce_gui_basics/juce_gui_basics.h>

// JUCE on Linux loads fonts by their exact family name only, and it draws a
// character that an existing font lacks as that font's missing-glyph box
// instead of asking the fallback font. Two things put that right:
//  - the Windows names of the texts map to installed families of the same
//    kind (metric-compatible where there is one);
//  - every typeface JUCE creates is wrapped so that a character its font
//    lacks comes from the fallback font, and, failing that, from the first
//    of a few broad installed families that has it.
namespace fontnames
{
namespace
{
    // Blanks have no outline of their own; the ideographic space is one too.
    bool isBlank (juce::juce_wchar c)
    {
        return juce::CharacterFunctions::isWhitespace (c) || c == 0x3000;
    }

    struct Equivalent
    {
        const char* windowsName;
        const char* families[3];
    };

    // Debian packages: fonts-liberation2, fonts-droid-fallback, fonts-nanum,
    // fonts-ipafont-gothic (all ship .ttf/.otf files, which JUCE can load).
    const Equivalent equivalents[] =
    {
        { "Arial",           { "Liberation Sans", "Arimo", "DejaVu Sans" } },
        { "Microsoft YaHei", { "Droid Sans Fallback", "Noto Sans CJK SC", nullptr } },
        { "Malgun Gothic",   { "NanumGothic", "NanumBarunGothic", nullptr } },
        { "MS UI Gothic",    { "Droid Sans Fallback", "IPAPGothic", "IPAGothic" } },
    };

    // Where a character missing from both the font and the fallback is
    // looked for: Latin and Cyrillic, Chinese and kana, Hangul, Japanese.
    const char* const lastResortFamilies[] =
    {
        "Liberation Sans", "DejaVu Sans", "Droid Sans Fallback", "NanumGothic", "IPAGothic"
    };

    const juce::StringArray& installedFamilies()
    {
        static const juce::StringArray families = juce::Font::findAllTypefaceNames();
        return families;
    }

    bool isInstalled (const juce::String& family)
    {
        return installedFamilies().contains (family);
    }

    bool ownGlyph (juce::Typeface& typeface, juce::juce_wchar c, juce::Path& outline);

    //==========================================================================
    // A typeface that takes its glyphs from a system typeface, but leaves a
    // character that typeface lacks to JUCE's fallback font (or borrows it
    // from the last-resort families) rather than drawing a box.
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

            // Whatever the fallback font has is drawn from there by JUCE.
            if (auto fallback = juce::Typeface::getFallbackTypeface())
            {
                if (fallback.get() != this)
                {
                    juce::Path unused;

                    if (auto* wrapped = dynamic_cast<GlyphFallbackTypeface*> (fallback.get()))
                    {
                        if (ownGlyph (wrapped->getInner(), c, unused))
                            return false;
                    }
                    else if (ownGlyph (*fallback, c, unused))
                    {
                        return false;
                    }
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

            if (! ownGlyph (source, c, outline))
                return false;

            addGlyph (c, outline, source.getStringWidth (juce::String::charToString (c)));
            return true;
        }

        juce::Typeface::Ptr inner;
        juce::ReferenceCountedArray<juce::Typeface> lastResorts;

        JUCE_DECLARE_NON_COPYABLE (GlyphFallbackTypeface)
    };

    // The outline of a character a typeface certainly lacks: its missing-glyph box.
    constexpr juce::juce_wchar certainlyMissing = 0x10fffd;

    bool ownGlyph (juce::Typeface& typeface, juce::juce_wchar c, juce::Path& outline)
    {
        if (auto* wrapped = dynamic_cast<GlyphFallbackTypeface*> (&typeface))
            return ownGlyph (wrapped->getInner(), c, outline);

        if (isBlank (c))
            return true;

        if (! typeface.getOutlineForGlyph ((int) c, outline) || outline.isEmpty())
            return false;

        juce::Path missing;
        typeface.getOutlineForGlyph ((int) certainlyMissing, missing);
        return missing.isEmpty() || missing.toString() != outline.toString();
    }

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

    void installGlyphFallback()
    {
        if (dynamic_cast<FallbackTypefaceLook*> (&juce::LookAndFeel::getDefaultLookAndFeel()) != nullptr)
            return;

        juce::LookAndFeel::setDefaultLookAndFeel (new FallbackTypefaceLook());
        juce::Typeface::clearTypefaceCache();
    }
}

//==============================================================================
juce::String resolve (const juce::String& name)
{
    if (name.isEmpty() || name.startsWithChar ('<') || isInstalled (name))
        return name;

    for (auto& equivalent : equivalents)
        if (name.equalsIgnoreCase (equivalent.windowsName))
            for (auto* family : equivalent.families)
                if (family != nullptr && isInstalled (family))
                    return family;

    return name;
}

void setFallbackFontName (const juce::String& name)
{
    installGlyphFallback();

    const auto family = resolve (name);

    if (juce::Font::getFallbackFontName() == family)
        return;

    juce::Font::setFallbackFontName (family);

    // Rendered glyphs are cached by font, not by where they came from.
    juce::Typeface::clearTypefaceCache();
}

bool typefaceHasGlyph (juce::Typeface& typeface, juce::juce_wchar character)
{
    if (isBlank (character))
        return true;

    juce::Path outline, missing;

    if (! typeface.getOutlineForGlyph ((int) character, outline) || outline.isEmpty())
        return false;

    typeface.getOutlineForGlyph ((int) certainlyMissing, missing);
    return missing.isEmpty() || missing.toString() != outline.toString();
}
}
