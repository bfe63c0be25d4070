#include "app/MainComponent.h"
#include "text/TxtLoader.h"
#include "ui/ZivuvButton.h"

// Placeholder screens: one heading per state and the button table.
void MainComponent::buildScreen()
{
    auto* texts = getTextTable();
    const auto font = texts->getCurrentFont();
    juce::Font::setFallbackFontName (font);

    if (auto* parent = getParentComponent())
        parent->setName (texts->getText (TextTitle));

    const float w = (float) getWidth();
    const float h = (float) getHeight();
    screenText.clear();

    const bool packageError = state != SelectLanguage && packageValid == 0;
    int heading = TextEmpty;

    switch (packageError ? -2 : state)
    {
        case -2:             heading = TextPackageError; break;
        case SelectLanguage: heading = TextLanguageHeading; break;
        case NotRecognized:  heading = TextNotRecognized; break;
        case Ready:          heading = TextReadyHeading; break;
        case Updating:       heading = TextUpdating; break;
        case Complete:       heading = TextComplete; break;
        case Failed:         heading = TextErrorOccurred; break;
        default:             break;
    }

    screenText.addFittedText (juce::Font (font, 13.0f, juce::Font::bold), texts->getText (heading),
                              20.0f, 20.0f, w - 40.0f, h - 20.0f, juce::Justification (9), 11, 0.7f);

    langs->setVisible (state == SelectLanguage);
    progressBar->setVisible (state == Updating && ! packageError);

    okButton->setFontName (font);
    cancelButton->setFontName (font);

    const juce::Rectangle<int> right (getWidth() - 120, getHeight() - 40, 100, 20);
    const juce::Rectangle<int> left (getWidth() - 230, getHeight() - 40, 100, 20);

    auto show = [&] (ZivuvButton* b, bool visible, int text, juce::Rectangle<int> where)
    {
        b->setVisible (visible);

        if (visible)
        {
            b->setBounds (where);
            b->refreshText (texts->getText (text));
        }
    };

    if (state == SelectLanguage)                    { show (okButton, true, TextOk, right); show (cancelButton, true, TextCancel, left); }
    else if (packageError || state == Complete || state == Failed) { show (okButton, false, 0, right); show (cancelButton, true, TextOk, right); }
    else if (state == NotRecognized)                { show (okButton, false, 0, right); show (cancelButton, true, TextClose, right); }
    else if (state == Ready)                        { show (okButton, true, TextStart, right); show (cancelButton, true, TextClose, left); }
    else if (state == Updating)                     { show (okButton, false, 0, right); show (cancelButton, false, 0, right); }

    repaint();
}

void MainComponent::addInstructions (float, float, int, const juce::String&, bool) {}
void MainComponent::addUpdateModeHint (float, float, int, const juce::String&) {}
