#include <gtest/gtest.h>

#include "platform/Locales.h"
#include "text/TxtLoader.h"
#include "FakeLocaleSource.h"

#include <cstdlib>
#include <set>

TEST (LocalesPosix, LocaleNamesMapToWindowsLanguageIdentifiers)
{
    struct NameCase { const char* name; juce::uint16 langId; };

    const NameCase cases[] =
    {
        { "en_US.UTF-8", 0x0409 }, { "en_GB.UTF-8", 0x0809 }, { "en_AU", 0x0c09 }, { "en_IN.utf8", 0x4009 },
        { "fr_FR.UTF-8", 0x040c }, { "fr_CA", 0x0c0c }, { "de_DE@euro", 0x0407 }, { "de_AT.ISO-8859-1", 0x0c07 },
        { "es_ES.UTF-8", 0x0c0a }, { "es_MX", 0x080a }, { "it_IT", 0x0410 }, { "nl_BE.UTF-8", 0x0813 },
        { "ru_RU.KOI8-R", 0x0419 }, { "pt_PT.UTF-8", 0x0816 }, { "pt_BR.UTF-8", 0x0416 },
        { "zh_CN.GB18030", 0x0804 }, { "zh_SG.UTF-8", 0x1004 }, { "zh_TW.UTF-8", 0x0404 }, { "zh_HK.big5hkscs", 0x0c04 },
        { "zh_MO.UTF-8", 0x1404 }, { "ko_KR.EUC-KR", 0x0412 }, { "ja_JP.eucJP", 0x0411 }, { "ja_JP", 0x0411 },

        // Case as some systems write it.
        { "EN_us.utf8", 0x0409 },

        // A known language with an unknown or no region: the language alone.
        { "fr_XX.UTF-8", 0x000c }, { "ja", 0x0011 }, { "zh.UTF-8", 0x0004 }, { "en_DK.UTF-8", 0x0009 },

        // Other languages are recognised as such.
        { "sv_SE.UTF-8", 0x001d }, { "pl_PL", 0x0015 },

        // No language at all.
        { "C", 0 }, { "C.UTF-8", 0 }, { "C.utf8", 0 }, { "POSIX", 0 }, { "", 0 }, { "xx_YY", 0 }, { "_JP", 0 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Locales::langIdFromLocaleName (c.name), c.langId) << c.name;
}

TEST (LocalesPosix, InstalledLocaleStringsAndTheUsersLanguage)
{
    const auto ids = Locales::localeIdsFromLocaleNames ({ "C", "C.utf8", "POSIX", "en_US.utf8", "en_US.iso88591",
                                                          "ja_JP.utf8", "pt_BR.utf8", "zh_TW.utf8" });
    EXPECT_EQ (ids.joinIntoString (" "), "00000409 00000411 00000416 00000404");

    EXPECT_EQ (Locales::langIdFromEnvironment ("", "", "ja_JP.UTF-8"), 0x0411);
    EXPECT_EQ (Locales::langIdFromEnvironment ("", "fr_FR.UTF-8", "ja_JP.UTF-8"), 0x040c);
    EXPECT_EQ (Locales::langIdFromEnvironment ("de_CH.UTF-8", "fr_FR.UTF-8", "ja_JP.UTF-8"), 0x0807);
    EXPECT_EQ (Locales::langIdFromEnvironment ("C", "fr_FR.UTF-8", "ja_JP.UTF-8"), 0);
    EXPECT_EQ (Locales::langIdFromEnvironment ("", "", ""), 0);
}

TEST (LocalesPosix, MappedLocalesDriveTheLanguageRules)
{
    // What a Japanese desktop with English also installed hands the rules.
    const auto ids = Locales::localeIdsFromLocaleNames ({ "C.utf8", "en_US.utf8", "ja_JP.utf8" });
    std::vector<const char*> installed;

    for (const auto& id : ids)
        installed.push_back (id.toRawUTF8());

    FakeLocaleSource locales (installed, Locales::langIdFromEnvironment ("", "", "ja_JP.UTF-8"));
    createTextTable();
    auto* table = getTextTable();

    for (int i = 0; i < 12; ++i)
        EXPECT_EQ (table->available[i], i == 0 || i == 11 ? 1 : 0) << i;

    EXPECT_EQ (table->currentLanguage, 11);
    deleteTextTable();
}

namespace
{
    std::vector<std::string> handedOver;

    bool collect (const char* localeId)
    {
        handedOver.push_back (localeId);
        return true;
    }

    juce::StringArray runLocaleTool()
    {
        juce::ChildProcess process;
        juce::StringArray names;

        if (process.start ("locale -a", juce::ChildProcess::wantStdOut))
            names.addLines (process.readAllProcessOutput());

        names.trim();
        names.removeEmptyStrings();
        return names;
    }
}

TEST (LocalesPosix, TheSystemSourceOnThisMachine)
{
    handedOver.clear();
    Locales::getSystemSource().enumInstalledLocales (collect);

    // Every locale of a known language that this machine lists is handed
    // over once, as eight hexadecimal digits; C and POSIX add nothing.
    std::set<std::string> expected;

    for (const auto& name : runLocaleTool())
        if (const auto langId = Locales::langIdFromLocaleName (name); langId != 0)
            expected.insert (juce::String::toHexString ((int) langId).toUpperCase().paddedLeft ('0', 8).toStdString());

    const std::set<std::string> got (handedOver.begin(), handedOver.end());
    EXPECT_EQ (got, expected);
    EXPECT_EQ (got.size(), handedOver.size()) << "each locale once";

    for (const auto& id : handedOver)
    {
        EXPECT_EQ (id.size(), 8u) << id;
        EXPECT_EQ (id.find_first_not_of ("0123456789ABCDEF"), std::string::npos) << id;
    }

    // The rules over the real source: English is always offered and the
    // result is an offered language.
    createTextTable();
    auto* table = getTextTable();
    EXPECT_EQ (table->available[0], 1);
    ASSERT_GE (table->currentLanguage, 0);
    EXPECT_EQ (table->available[table->currentLanguage], 1);
    deleteTextTable();
}

TEST (LocalesPosix, TheSystemSourceReadsTheLocaleEnvironment)
{
    struct Saved
    {
        const char* name;
        std::string value;
        bool wasSet;
    };

    std::vector<Saved> saved;

    for (const char* name : { "LC_ALL", "LC_MESSAGES", "LANG" })
    {
        const char* value = std::getenv (name);
        saved.push_back ({ name, value != nullptr ? value : "", value != nullptr });
    }

    ::setenv ("LC_ALL", "", 1);
    ::setenv ("LC_MESSAGES", "ja_JP.UTF-8", 1);
    ::setenv ("LANG", "C.UTF-8", 1);
    EXPECT_EQ (Locales::getSystemSource().getUserDefaultLangId(), 0x0411);

    ::setenv ("LC_ALL", "zh_HK.UTF-8", 1);
    EXPECT_EQ (Locales::getSystemSource().getUserDefaultLangId(), 0x0c04);

    ::unsetenv ("LC_ALL");
    ::unsetenv ("LC_MESSAGES");
    EXPECT_EQ (Locales::getSystemSource().getUserDefaultLangId(), 0);

    for (const auto& s : saved)
    {
        if (s.wasSet)
            ::setenv (s.name, s.value.c_str(), 1);
        else
            ::unsetenv (s.name);
    }
}
