#include <gtest/gtest.h>

#include "app/MainComponent.h"
#include "text/TxtLoader.h"
#include "FakeLocaleSource.h"

namespace
{
    // Which languages are offered, as twelve digits by language index:
    // en fr de es it nl ru pt zh-Hans zh-Hant ko ja.
    std::string offered (const TxtLoader& table)
    {
        std::string flags;

        for (auto flag : table.available)
            flags += flag != 0 ? '1' : '0';

        return flags;
    }

    struct ChoiceCase
    {
        std::vector<const char*> installed;
        juce::uint16 user;
        const char* offered;
        int chosen;
    };

    const std::vector<const char*> allTwelve { "00000409", "0000040C", "00000407", "00000C0A", "00000410", "00000413",
                                               "00000419", "00000816", "00000804", "00000404", "00000412", "00000411" };
}

TEST (LanguageChoice, OfferedLanguagesAndFirstChoice)
{
    const ChoiceCase cases[] =
    {
        // English is always offered, and chosen for every English user.
        { {},                           0x0409, "100000000000", 0 },
        { {},                           0x0809, "100000000000", 0 },
        { { "00000809" },               0x1009, "100000000000", 0 },

        // Another language only with a locale of it; regions share it.
        { { "00000416" },               0x0416, "100000010000", 7 },
        { { "00000816" },               0x0416, "100000010000", 7 },
        { {},                           0x0416, "100000000000", 0 },
        { { "0000080A" },               0x080A, "100100000000", 3 },
        { { "00000C0C" },               0x0C0C, "110000000000", 1 },
        { { "0000040c" },               0x040C, "110000000000", 1 },   // hexadecimal in lower case

        // A user language without its locale falls back to English, even
        // when others are offered.
        { { "00000411", "0000040C" },   0x0407, "110000000001", 0 },
        { allTwelve,                    0x041D, "111111111111", 0 },   // Swedish is not among them

        // One Chinese locale offers both Chinese languages; the user's
        // identifier decides which.
        { { "00000804" },               0x0804, "100000001100", 8 },
        { { "00000404" },               0x0404, "100000001100", 9 },
        { { "00000404" },               0x0C04, "100000001100", 9 },
        { { "00000804" },               0x1004, "100000001100", 9 },
        { { "00000404" },               0x1404, "100000001100", 9 },
        { { "00000404" },               0x7C04, "100000001100", 9 },
        { { "00000404" },               0x0004, "100000001100", 0 },
        { {},                           0x0804, "100000000000", 0 },
        { {},                           0x0404, "100000000000", 0 },

        // Korean and Japanese.
        { { "00000412" },               0x0412, "100000000010", 10 },
        { { "00000411", "00000409" },   0x0411, "100000000001", 11 },

        // A null locale ends the scan; what was found before stays.
        { { "00000411", nullptr, "00000407" }, 0x0407, "100000000001", 0 },

        // Strings too short to name a language are passed over.
        { { "", "7", "00000407" },      0x0407, "101000000000", 2 },

        // No user language at all.
        { { "00000411" },               0x0000, "100000000001", 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("user " + juce::String::toHexString ((int) c.user).toStdString()
                      + ", " + std::to_string (c.installed.size()) + " locales");

        FakeLocaleSource locales (c.installed, c.user);
        createTextTable();
        auto* table = getTextTable();

        EXPECT_EQ (offered (*table), c.offered);
        EXPECT_EQ (table->currentLanguage, c.chosen);
        EXPECT_EQ (table->getText (TextModelName), "KMX-Q7");

        deleteTextTable();
    }
}

//==============================================================================
class MainComponentProbe
{
public:
    static juce::ComboBox& languageSelector (MainComponent& mc) { return *mc.langs; }
};

TEST (LanguageChoice, SelectorOffersInstalledLanguagesAndTheTitleFollowsTheChoice)
{
    {
        // English alone.
        FakeLocaleSource locales ({}, 0x0409);
        MainComponent mc;
        auto& selector = MainComponentProbe::languageSelector (mc);

        ASSERT_EQ (selector.getNumItems(), 1);
        EXPECT_EQ (selector.getItemId (0), 1);
        EXPECT_EQ (selector.getItemText (0), "English");
    }

    FakeLocaleSource locales ({ "00000411", "00000409" }, 0x0411);
    juce::Component window;
    MainComponent mc;
    auto& selector = MainComponentProbe::languageSelector (mc);

    ASSERT_EQ (selector.getNumItems(), 2);
    EXPECT_EQ (selector.getItemId (0), 1);
    EXPECT_EQ (selector.getItemId (1), 12);
    EXPECT_EQ (selector.getItemText (1), juce::String::fromUTF8 ("日本語"));

    // A Japanese user starts in Japanese.
    auto* texts = getTextTable();
    EXPECT_EQ (texts->currentLanguage, 11);
    EXPECT_EQ (selector.getSelectedId(), 12);

    // Inside a window, each build names it in the current language.
    window.addAndMakeVisible (mc);
    mc.setSize (421, 170);
    EXPECT_EQ (window.getName(), juce::String::fromUTF8 ("アップデートプログラム"));

    selector.setSelectedId (1, juce::sendNotificationSync);
    EXPECT_EQ (texts->currentLanguage, 0);
    EXPECT_EQ (window.getName(), "Updater Program");

    selector.setSelectedId (12, juce::sendNotificationSync);
    EXPECT_EQ (texts->currentLanguage, 11);
    EXPECT_EQ (window.getName(), juce::String::fromUTF8 ("アップデートプログラム"));

    window.removeChildComponent (&mc);
}
