#include "ui/LangLookAndFeel.h"
#include "platform/FontNames.h"
#include "text/TxtLoader.h"

LangLookAndFeel::LangLookAndFeel()
{
    // JUCE 7's default scheme draws lists light on dark; ours is black on white.
    setColour (juce::PopupMenu::textColourId, juce::Colour (0xff000000));
    setColour (juce::PopupMenu::backgroundColourId, juce::Colour (0xffffffff));
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colour (0xffffffff));
}

void LangLookAndFeel::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area,
                                         bool isSeparator, bool isActive, bool isHighlighted, bool isTicked,
                                         bool hasSubMenu, const juce::String& text, const juce::String& shortcutKeyText,
                                         const juce::Drawable* icon, const juce::Colour* textColour)
{
    const int width = area.getWidth();
    const int height = area.getHeight();
    const float halfH = (float) height * 0.5f;

    const juce::Graphics::ScopedSaveState saved (g);
    g.setOrigin (area.getPosition());

    if (isSeparator)
    {
        g.setColour (juce::Colour (0x33000000));
        g.drawLine (5.5f, halfH, (float) width - 5.5f, halfH);
        g.setColour (juce::Colour (0x66ffffff));
        g.drawLine (5.5f, halfH + 1.0f, (float) width - 5.5f, halfH + 1.0f);
        return;
    }

    const auto colour = textColour != nullptr ? *textColour : findColour (juce::PopupMenu::textColourId);

    if (isHighlighted)
    {
        g.setColour (juce::Colour (0xff000040));
        g.fillRect (1, 1, width - 2, height - 2);
        g.setColour (findColour (juce::PopupMenu::highlightedTextColourId));
    }
    else
    {
        g.setColour (colour);
    }

    if (! isActive)
        g.setOpacity (0.3f);

    // Each language's name draws with its own language's font behind the
    // list font, for the time of this item only.
    const auto previousFallback = juce::Font::getFallbackFontName();
    auto* texts = getTextTable();

    for (int i = 0; i < 12; ++i)
    {
        if (text.equalsIgnoreCase (texts->getLanguageName (i)))
        {
            fontnames::setFallbackFontName (texts->getFont (i));
            break;
        }
    }

    auto font = getPopupMenuFont();

    if (font.getHeight() > (float) height / 1.3f)
        font.setHeight ((float) height / 1.3f);

    g.setFont (font);

    const int lb = (height * 5) / 4;

    if (icon != nullptr)
    {
        icon->drawWithin (g, juce::Rectangle<float> (2.0f, 1.0f, (float) (lb - 4), (float) (height - 2)),
                          juce::RectanglePlacement (292), 1.0f);
    }
    else if (isTicked)
    {
        const auto tick = getTickShape (1.0f);
        const float th = font.getAscent();
        const float ty = halfH - th * 0.5f;
        g.fillPath (tick, tick.getTransformToScaleToFit (juce::Rectangle<float> (2.0f, ty, (float) (lb - 4), th),
                                                         true, juce::Justification (36)));
    }

    g.drawFittedText (text, lb, 0, width - lb - 4, height, juce::Justification (33), 1, 0.7f);

    if (shortcutKeyText.isNotEmpty())
    {
        auto small = g.getCurrentFont();
        small.setHeight (small.getHeight() * 0.75f);
        small.setHorizontalScale (0.95f);
        g.setFont (small);
        g.drawText (shortcutKeyText, lb, 0, width - lb - 8, height, juce::Justification (34), true);
    }

    if (hasSubMenu)
    {
        const float a = 0.6f * getPopupMenuFont().getAscent();
        const float ax = (float) width - (float) height * 0.6f;

        juce::Path arrow;
        arrow.addTriangle (ax, halfH - a * 0.5f, ax, halfH + a * 0.5f, ax + a * 0.6f, halfH);
        g.fillPath (arrow);
    }

    fontnames::setFallbackFontName (previousFallback);
}
