// The Windows source over the running system. Wine takes the user's
// language from the locale it was started in (LC_ALL), so the Windows test
// run starts this program once per locale of the table below; started
// without one of them, the second test has nothing to check and skips.
#include <gtest/gtest.h>

#include "platform/Locales.h"
#include "text/TxtLoader.h"

#include <cstdlib>
#include <set>
#include <string>

namespace
{
    std::vector<std::string> handedOver;

    bool collect (const char* localeId)
    {
        handedOver.push_back (localeId != nullptr ? localeId : "(null)");
        return true;
    }

    struct LocaleCase
    {
        const char* lcAll;
        juce::uint16 langId;
        int language;          // en fr de es it nl ru pt zh-Hans zh-Hant ko ja
        const char* title;     // UTF-8
    };

    const LocaleCase localeCases[] =
    {
        { "en_US.UTF-8", 0x0409, 0,  "Updater Program" },
        { "de_DE.UTF-8", 0x0407, 2,  "Update-Programm" },
        { "pt_BR.UTF-8", 0x0416, 7,  nullptr },
        { "zh_CN.UTF-8", 0x0804, 8,  nullptr },
        { "zh_TW.UTF-8", 0x0404, 9,  nullptr },
        { "ko_KR.UTF-8", 0x0412, 10, nullptr },
        { "ja_JP.UTF-8", 0x0411, 11, "\xe3\x82\xa2\xe3\x83\x83\xe3\x83\x97\xe3\x83\x87\xe3\x83\xbc\xe3\x83\x88"
                                     "\xe3\x83\x97\xe3\x83\xad\xe3\x82\xb0\xe3\x83\xa9\xe3\x83\xa0" },
    };
}

TEST (LocalesWin32, InstalledLocalesAreWindowsLocaleIdentifiers)
{
    handedOver.clear();
    Locales::getSystemSource().enumInstalledLocales (collect);

    const std::set<std::string> distinct (handedOver.begin(), handedOver.end());
    EXPECT_EQ (distinct.size(), handedOver.size()) << "each locale once";
    EXPECT_EQ (distinct.count ("00000409"), 1u) << "US English is always installed";

    for (const auto& id : handedOver)
    {
        EXPECT_EQ (id.size(), 8u) << id;
        EXPECT_EQ (id.find_first_not_of ("0123456789ABCDEFabcdef"), std::string::npos) << id;
    }
}

TEST (LocalesWin32, TheUsersLanguageAndTheFirstChoiceFollowTheLocale)
{
    const char* lcAll = std::getenv ("LC_ALL");
    const LocaleCase* expected = nullptr;

    for (auto& c : localeCases)
        if (lcAll != nullptr && std::string (lcAll) == c.lcAll)
            expected = &c;

    if (expected == nullptr)
        GTEST_SKIP() << "started without one of the table's locales in LC_ALL";

    EXPECT_EQ (Locales::getSystemSource().getUserDefaultLangId(), expected->langId);

    // The whole choice over the real source: that language is offered and
    // taken, and names the program.
    createTextTable();
    auto* table = getTextTable();
    EXPECT_EQ (table->available[expected->language], 1);
    EXPECT_EQ (table->currentLanguage, expected->language);

    if (expected->title != nullptr)
        EXPECT_EQ (table->getText (TextTitle), juce::String::fromUTF8 (expected->title));

    deleteTextTable();
}
