#include "app/MainComponent.h"
#include "platform/FontNames.h"
#include "text/TxtLoader.h"
#include "ui/FormatText.h"
#include "ui/ZivuvButton.h"

// What each screen state shows: its text blocks, the selector, the bar and
// the buttons. Every build starts from nothing.
namespace
{
    // The controller's two buttons, named as printed on it.
    const char* const shiftButton = "SHIFT";
    const char* const syncButton = "SYNC";

    // Chinese, Korean and Japanese name the controller's buttons before the
    // controller itself.
    bool namesButtonsFirst (int language)  { return language >= 8 && language <= 11; }

    int step1Lines (int language)
    {
        return (language >= 8 && language <= 10) ? 1 : 2;
    }

    int step2Lines (int language)
    {
        switch (language)
        {
            case 8: case 9: case 10: case 11:  return 2;
            case 1: case 2: case 4: case 6:    return 4;
            default:                           return 3;
        }
    }

    int updateModeHintLines (int language)
    {
        switch (language)
        {
            case 8: case 9:                             return 1;
            case 0: case 10: case 11:                   return 2;
            default:                                    return 3;
        }
    }

    // As many 13-pixel lines as the box holds, at least on paper.
    int linesThatFit (float boxHeight)  { return (int) (boxHeight / 13.0f); }

    juce::String formatUpdateMode (int textIndex, int language)
    {
        auto* texts = getTextTable();
        const auto& model = texts->getText (TextModelName);

        return namesButtonsFirst (language)
                 ? formatText (texts->getText (textIndex), shiftButton, syncButton, model)
                 : formatText (texts->getText (textIndex), model, shiftButton, syncButton);
    }

    juce::String formatVersion (int textIndex, int version)
    {
        return formatText (getTextTable()->getText (textIndex), version / 100, version % 100);
    }

    void addBlock (juce::GlyphArrangement& text, const juce::String& fontName, bool bold,
                   const juce::String& content, float x, float y, float w, float h, int maxLines)
    {
        const juce::Font font (fontnames::resolve (fontName), 13.0f, bold ? juce::Font::bold : juce::Font::plain);
        text.addFittedText (font, content, x, y, w, h, juce::Justification (9), maxLines, 0.7f);
    }

    // The bottom edge of the line of the last glyph laid out so far, line
    // breaks included. Taken from the glyph's line, not its box: a line
    // break may have no width (it has none in Windows fonts), and a box
    // without width counts as empty.
    float bottomOf (const juce::GlyphArrangement& text, float otherwise)
    {
        const int n = text.getNumGlyphs();

        if (n == 0)
            return otherwise;

        return text.begin()[n - 1].getBottom();
    }
}

void MainComponent::buildScreen()
{
    auto* texts = getTextTable();
    const juce::String fontName = texts->getCurrentFont();

    fontnames::setFallbackFontName (fontName);

    if (auto* parent = getParentComponent())
        parent->setName (texts->getText (TextTitle));

    const float w = (float) getWidth();
    const float h = (float) getHeight();
    const int language = texts->currentLanguage;
    const auto& model = texts->getText (TextModelName);
    const bool packageError = state != SelectLanguage && packageValid == 0;

    screenText.clear();
    float y = 20.0f;

    auto add = [&] (bool bold, const juce::String& content, float x, float top, float bw, float bh, int lines)
    {
        addBlock (screenText, fontName, bold, content, x, top, bw, bh, lines);
    };

    if (packageError)
    {
        add (false, texts->getText (TextPackageError), 105.0f, 20.0f, w - 125.0f, h - 20.0f, linesThatFit (h - 20.0f));
    }
    else
    {
        switch (state)
        {
            case SelectLanguage:
                add (true, texts->getText (TextLanguageHeading) + "\n\n", 20.0f, 20.0f, w - 40.0f, h - 20.0f, linesThatFit (h - 20.0f));
                y = bottomOf (screenText, y);
                add (false, texts->getText (TextSelectLanguage), 40.0f, y, w - 60.0f, h - y, linesThatFit (h - y));
                break;

            case NotRecognized:
                addInstructions (105.0f, 20.0f, language, fontName, true);
                break;

            case Ready:
                add (true, formatText (texts->getText (TextReadyHeading), model) + "\n\n",
                     20.0f, 20.0f, w - 40.0f, h - 20.0f, linesThatFit (h - 20.0f));
                // The hint starts at a fixed height, whatever the heading took.
                y = 20.0f + (language == 6 ? 31.0f : 16.0f);
                addUpdateModeHint (40.0f, y, language, fontName);
                y = bottomOf (screenText, y) + 5.0f;
                add (false, formatVersion (TextCurrentVersion, deviceVersion) + "\n" + formatVersion (TextUpdateVersion, packageVersion),
                     60.0f, y, w - 60.0f, h - y, linesThatFit (h - y));
                break;

            case Updating:
                add (true, formatText (texts->getText (TextUpdating), model) + "\n\n",
                     20.0f, 20.0f, w - 40.0f, h - 20.0f, linesThatFit (h - 20.0f));
                y = bottomOf (screenText, y);
                add (false, texts->getText (TextPleaseWait), 40.0f, y, w - 60.0f, h - y, linesThatFit (h - y));
                break;

            case Complete:
                add (false, formatText (texts->getText (TextComplete), model), 20.0f, 20.0f, w - 40.0f, h - 20.0f, linesThatFit (h - 20.0f));
                break;

            case Failed:
                add (false, texts->getText (TextErrorOccurred) + "\n", 105.0f, 20.0f, w - 125.0f, h - 20.0f, linesThatFit (h - 20.0f));
                // The steps start where they do on the not-recognized screen.
                addInstructions (105.0f, 20.0f, language, fontName, false);
                break;

            default:
                break;
        }
    }

    if (state == SelectLanguage)
    {
        langs->setVisible (true);
        langs->setSelectedId (texts->currentLanguage + 1, juce::dontSendNotification);
        langs->resized();   // its shown text picks up the current fonts
    }
    else
    {
        langs->setVisible (false);
    }

    progressBar->setVisible (state == Updating && ! packageError);

    okButton->setFontName (fontName);
    cancelButton->setFontName (fontName);

    const juce::Rectangle<int> right (getWidth() - 120, getHeight() - 40, 100, 20);
    const juce::Rectangle<int> left (getWidth() - 230, getHeight() - 40, 100, 20);

    auto show = [texts] (ZivuvButton* button, int textIndex, juce::Rectangle<int> bounds)
    {
        button->setVisible (true);
        button->setBounds (bounds);
        button->refreshText (texts->getText (textIndex));
    };

    if (state == SelectLanguage)
    {
        show (okButton, TextOk, right);
        show (cancelButton, TextCancel, left);
    }
    else if (packageError || state == Complete || state == Failed)
    {
        okButton->setVisible (false);
        show (cancelButton, TextOk, right);
    }
    else if (state == NotRecognized)
    {
        okButton->setVisible (false);
        show (cancelButton, TextClose, right);
    }
    else if (state == Ready)
    {
        show (okButton, TextStart, right);
        show (cancelButton, TextClose, left);
    }
    else if (state == Updating)
    {
        okButton->setVisible (false);
        cancelButton->setVisible (false);
    }

    repaint();
}

void MainComponent::addInstructions (float x, float y, int language, const juce::String& fontName, bool withNotRecognizedLine)
{
    auto* texts = getTextTable();
    const auto& model = texts->getText (TextModelName);
    const float width = (float) getWidth() - x - 15.0f;

    if (withNotRecognizedLine)
        addBlock (screenText, fontName, true, formatText (texts->getText (TextNotRecognized), model), x, y, width, 16.0f, 1);

    y += 16.0f;

    const int n1 = step1Lines (language);
    addBlock (screenText, fontName, false, formatText (texts->getText (TextStep1Connect), model),
              x, y, width, (float) n1 * 16.0f, n1);
    y += (float) (n1 * 13 + 3);

    const int n2 = step2Lines (language);
    addBlock (screenText, fontName, false, formatUpdateMode (TextStep2UpdateMode, language),
              x, y, width, (float) n2 * 16.0f, n2);
    y += (float) (n2 * 13 + 3);

    addBlock (screenText, fontName, false, texts->getText (TextStep3Restart), x, y, width, 16.0f, 1);
}

void MainComponent::addUpdateModeHint (float x, float y, int language, const juce::String& fontName)
{
    const int n = updateModeHintLines (language);
    addBlock (screenText, fontName, false, formatUpdateMode (TextUpdateModeHint, language),
              x, y, (float) getWidth() - (x + 20.0f), (float) n * 16.0f, n);
}
