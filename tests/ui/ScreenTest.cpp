#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "ImageTools.h"
#include "ScreenProbe.h"
#include "platform/FontNames.h"
#include "support/MessageLoop.h"
#include "text/TxtLoader.h"

#include <memory>

using Probe = MainComponentProbe;
using Screen = MainComponentProbe::Screen;

namespace
{
    const char* const languageCodes[12] = { "en", "fr", "de", "es", "it", "nl", "ru", "pt", "zh-Hans", "zh-Hant", "ko", "ja" };

    juce::String where (int language, const Screen& screen)
    {
        return juce::String (screen.name) + " in " + languageCodes[language];
    }

    bool isProblemScreen (const Screen& s)
    {
        return ! s.packageValid || s.state == NotRecognized || s.state == Failed;
    }

    // The characters of the laid-out text, one per glyph.
    juce::String glyphText (juce::GlyphArrangement& text)
    {
        juce::String s;
        for (int i = 0; i < text.getNumGlyphs(); ++i)
            s += juce::String::charToString (text.getGlyph (i).getCharacter());
        return s;
    }

    // From the glyph's line: a box without width (a line break in some
    // fonts) counts as empty and has no position.
    float topOf (const juce::GlyphArrangement& text, int index)
    {
        return text.begin()[index].getTop();
    }

    class Screens : public testing::Test
    {
    protected:
        void SetUp() override
        {
            // Offer every language, whatever this machine's locales.
            createTextTable();
            for (auto& flag : getTextTable()->available)
                flag = 1;

            // The size the component has inside the main window.
            component = std::make_unique<MainComponent>();
            component->setSize (426, 176);
            window.setSize (426, 176);
            window.addAndMakeVisible (*component);
        }

        void TearDown() override
        {
            window.removeAllChildren();
            component.reset();   // deletes the text table
        }

        void show (int language, const Screen& screen)
        {
            getTextTable()->selectLanguage (language);
            Probe::show (*component, screen);
        }

        juce::GlyphArrangement& text()  { return Probe::screenText (*component); }

        juce::Image snapshot()
        {
            return component->createComponentSnapshot (component->getLocalBounds(), true, 1.0f);
        }

        template <typename Check>
        void forEveryScreen (Check&& check)
        {
            for (int language = 0; language < 12; ++language)
                for (auto& screen : Probe::screens)
                {
                    show (language, screen);
                    check (language, screen);
                }
        }

        juce::Component window;   // stands in for the main window: its name is the title
        std::unique_ptr<MainComponent> component;
    };
}

TEST_F (Screens, WarningSignShowsOnlyOnTheProblemScreens)
{
    auto isSignYellow = [] (juce::Colour c) { return c.getRed() > 190 && c.getGreen() > 170 && c.getBlue() < 110; };

    forEveryScreen ([&] (int language, const Screen& screen)
    {
        const auto image = snapshot();
        const int yellow = imagetools::count (image, { 20, 15, 64, 64 }, isSignYellow);

        if (isProblemScreen (screen))
            EXPECT_GT (yellow, 600) << where (language, screen);
        else
            EXPECT_EQ (yellow, 0) << where (language, screen);

        // Scaled into its square and nowhere else.
        EXPECT_EQ (imagetools::count (image, { 0, 0, 20, 176 }, isSignYellow), 0) << where (language, screen);
        EXPECT_EQ (imagetools::count (image, { 84, 0, 342, 176 }, isSignYellow), 0) << where (language, screen);
    });
}

TEST_F (Screens, InstructionStepsStartAtTheirRows)
{
    struct Rows { float step2, step3; };
    const Rows rows[12] =
    {
        { 65, 107 }, { 65, 120 }, { 65, 120 }, { 65, 107 }, { 65, 120 }, { 65, 107 },
        { 65, 120 }, { 65, 107 }, { 52, 81 },  { 52, 81 },  { 52, 81 },  { 65, 94 },
    };

    for (int language = 0; language < 12; ++language)
    {
        for (auto& screen : { Probe::screens[1], Probe::screens[5] })   // NotRecognized, Failed
        {
            show (language, screen);
            const auto s = glyphText (text());

            const int step1 = s.indexOf ("1.");
            const int step2 = s.indexOf (step1 + 1, "2.");
            const int step3 = s.indexOf (step2 + 1, "3.");
            ASSERT_TRUE (step1 >= 0 && step2 > step1 && step3 > step2) << where (language, screen);

            EXPECT_FLOAT_EQ (topOf (text(), 0), 20.0f) << where (language, screen);
            EXPECT_FLOAT_EQ (topOf (text(), step1), 36.0f) << where (language, screen);
            EXPECT_FLOAT_EQ (topOf (text(), step2), rows[language].step2) << where (language, screen);
            EXPECT_FLOAT_EQ (topOf (text(), step3), rows[language].step3) << where (language, screen);
            EXPECT_NEAR (text().begin()[step1].getLeft(), 105.0f, 0.5f) << where (language, screen);

            if (screen.state == NotRecognized)
                EXPECT_TRUE (s.contains (getTextTable()->getText (TextModelName))) << where (language, screen);
        }
    }
}

TEST_F (Screens, ReadyScreenPlacesTheHintAndShowsBothVersions)
{
    for (int language = 0; language < 12; ++language)
    {
        show (language, Probe::screens[2]);
        const auto s = glyphText (text());

        // The hint is the first text after the heading's empty line.
        int hint = s.indexOf ("\n\n") + 2;
        while (hint < s.length() && juce::CharacterFunctions::isWhitespace (s[hint]))
            ++hint;

        ASSERT_LT (hint, s.length()) << languageCodes[language];
        EXPECT_FLOAT_EQ (topOf (text(), hint), language == 6 ? 51.0f : 36.0f) << languageCodes[language];
        EXPECT_NEAR (text().begin()[hint].getLeft(), 40.0f, 0.5f) << languageCodes[language];

        EXPECT_TRUE (s.contains ("1.05")) << languageCodes[language];
        EXPECT_TRUE (s.contains ("1.10")) << languageCodes[language];

        // The controller's buttons named as printed on it, in every language.
        EXPECT_TRUE (s.contains ("[SHIFT]") && s.contains ("[SYNC]")) << languageCodes[language];
    }

    show (0, Probe::screens[2]);
    EXPECT_TRUE (glyphText (text()).contains ("Current Version: Ver. 1.05\nUpdate Version: Ver. 1.10"));
}

TEST_F (Screens, ButtonsSelectorAndBarFollowTheStateTable)
{
    const juce::Rectangle<int> right (306, 136, 100, 20), left (196, 136, 100, 20), none;

    struct Row { int ok; juce::Rectangle<int> okAt; int cancel; juce::Rectangle<int> cancelAt; bool selector, bar; };
    const Row rows[7] =
    {
        { TextOk,    right, TextCancel, left,  true,  false },   // SelectLanguage
        { -1,        none,  TextClose,  right, false, false },   // NotRecognized
        { TextStart, right, TextClose,  left,  false, false },   // Ready
        { -1,        none,  -1,         none,  false, true  },   // Updating
        { -1,        none,  TextOk,     right, false, false },   // Complete
        { -1,        none,  TextOk,     right, false, false },   // Failed
        { -1,        none,  TextOk,     right, false, false },   // package error
    };

    for (int language = 0; language < 12; ++language)
    {
        for (int i = 0; i < 7; ++i)
        {
            auto& screen = Probe::screens[i];
            show (language, screen);
            auto& row = rows[i];
            const auto at = where (language, screen);

            auto& ok = Probe::okButton (*component);
            auto& cancel = Probe::cancelButton (*component);

            EXPECT_EQ (ok.isVisible(), row.ok >= 0) << at;
            EXPECT_EQ (cancel.isVisible(), row.cancel >= 0) << at;

            if (row.ok >= 0)
            {
                EXPECT_EQ (ok.getButtonText(), getTextTable()->getText (row.ok)) << at;
                EXPECT_EQ (ok.getBounds(), row.okAt) << at;
            }

            if (row.cancel >= 0)
            {
                EXPECT_EQ (cancel.getButtonText(), getTextTable()->getText (row.cancel)) << at;
                EXPECT_EQ (cancel.getBounds(), row.cancelAt) << at;
            }

            EXPECT_EQ (ok.getFontName(), getTextTable()->getCurrentFont()) << at;
            EXPECT_EQ (Probe::languageSelector (*component).isVisible(), row.selector) << at;
            EXPECT_EQ (Probe::progressBar (*component).isVisible(), row.bar) << at;
        }
    }
}

TEST_F (Screens, WindowTitleAndSelectorFollowTheLanguage)
{
    for (int language = 0; language < 12; ++language)
    {
        show (language, Probe::screens[0]);
        EXPECT_EQ (window.getName(), getTextTable()->getText (TextTitle)) << languageCodes[language];
        EXPECT_EQ (Probe::languageSelector (*component).getText(), getTextTable()->getLanguageName (language));
    }
}

TEST_F (Screens, EveryGlyphComesFromAFontThatHasIt)
{
    forEveryScreen ([&] (int language, const Screen& screen)
    {
        const auto at = where (language, screen);
        int shown = 0;
        const juce::Font screenFont (fontnames::resolve (getTextTable()->getCurrentFont()), 13.0f, juce::Font::plain);
        auto screenTypeface = screenFont.getTypefacePtr();

        for (int i = 0; i < text().getNumGlyphs(); ++i)
        {
            auto& glyph = text().getGlyph (i);
            const auto c = glyph.getCharacter();

            if (juce::CharacterFunctions::isWhitespace (c) || c == 0x3000)
                continue;

            ++shown;
            EXPECT_TRUE (fontnames::typefaceHasGlyph (*screenTypeface, c))
                << at << ": no glyph for U+" << juce::String::toHexString ((int) c);
        }

        EXPECT_GT (shown, 5) << at;

        for (auto* button : { &Probe::okButton (*component), &Probe::cancelButton (*component) })
        {
            if (! button->isVisible())
                continue;

            EXPECT_TRUE (button->getButtonText().isNotEmpty()) << at;
            auto typeface = button->getLabelFont().getTypefacePtr();

            for (auto c : button->getButtonText())
                EXPECT_TRUE (fontnames::typefaceHasGlyph (*typeface, c)) << at << ": button label U+" << juce::String::toHexString ((int) c);
        }

        auto& selector = Probe::languageSelector (*component);

        if (selector.isVisible())
        {
            auto& look = Probe::languageLook (*component);
            auto typeface = look.getComboBoxFont (selector).getTypefacePtr();

            for (auto c : selector.getText())
                EXPECT_TRUE (fontnames::typefaceHasGlyph (*typeface, c)) << at << ": selector U+" << juce::String::toHexString ((int) c);
        }
    });
}

TEST_F (Screens, TextsStayInsideTheWindowAndClearOfEachOther)
{
    forEveryScreen ([&] (int language, const Screen& screen)
    {
        const auto at = where (language, screen);
        const auto image = snapshot();
        const auto bounds = component->getLocalBounds().toFloat();
        std::vector<juce::Rectangle<float>> boxes;

        for (int i = 0; i < text().getNumGlyphs(); ++i)
        {
            auto& glyph = text().getGlyph (i);

            if (glyph.isWhitespace() || glyph.getCharacter() == 0x3000)
                continue;

            const auto box = glyph.getBounds();
            EXPECT_TRUE (bounds.contains (box)) << at << ": glyph " << i << " outside the window";

            // Each glyph leaves ink where it stands.
            const int ink = imagetools::count (image, box.getSmallestIntegerContainer().expanded (1),
                                               [] (juce::Colour c) { return c.getBrightness() < 0.7f; });
            EXPECT_GT (ink, 0) << at << ": glyph " << i << " draws nothing";

            for (auto& other : boxes)
                EXPECT_FALSE (other.reduced (1.0f).intersects (box.reduced (1.0f)))
                    << at << ": glyph " << i << " (U+" << juce::String::toHexString ((int) glyph.getCharacter())
                    << ") overlaps another at " << box.toString();

            boxes.push_back (box);
        }

        // Buttons, selector and bar sit clear of the text.
        for (juce::Component* child : { (juce::Component*) &Probe::okButton (*component), (juce::Component*) &Probe::cancelButton (*component),
                                        (juce::Component*) &Probe::languageSelector (*component), (juce::Component*) &Probe::progressBar (*component) })
            if (child->isVisible())
                for (auto& box : boxes)
                    EXPECT_FALSE (child->getBounds().toFloat().intersects (box.reduced (1.0f))) << at << ": text under " << child->getName();
    });
}

TEST_F (Screens, ProgressBarShowsTheValueWhileUpdating)
{
    show (0, Probe::screens[3]);
    component->resized();
    testsupport::pumpMessages (1200);

    const auto image = snapshot();
    const auto bar = Probe::progressBar (*component).getBounds();
    EXPECT_EQ (bar, juce::Rectangle<int> (20, 78, 386, 20));

    // 45 % of the 382-pixel field, grey fill from the left, looked at above the text.
    const auto fill = imagetools::boundsOf (image.getClippedImage (bar.withHeight (4)),   // above the percentage
                                            [] (juce::Colour c) { return c.getRed() > 60 && c.getRed() < 200 && c.getRed() == c.getBlue(); });
    EXPECT_NEAR (fill.getX(), 2, 1);
    EXPECT_NEAR (fill.getRight(), 2 + 0.45 * 382, 2);
}
