#include "platform/Locales.h"

// Here the installed locales are the ones `locale -a` lists, and the user's
// language is the one the locale environment names. Both arrive as locale
// names ("ja_JP.UTF-8") and are turned into the Windows identifiers the
// language rules expect.

namespace
{
    struct PrimaryLanguage
    {
        const char* code;       // ISO 639-1
        juce::uint16 primary;   // the Windows primary language
    };

    // The program's twelve languages first, then others, so that a user of
    // another language is recognised as such and falls back to English.
    const PrimaryLanguage primaryLanguages[] =
    {
        { "en", 0x09 }, { "fr", 0x0c }, { "de", 0x07 }, { "es", 0x0a }, { "it", 0x10 }, { "nl", 0x13 },
        { "ru", 0x19 }, { "pt", 0x16 }, { "zh", 0x04 }, { "ko", 0x12 }, { "ja", 0x11 },

        { "ar", 0x01 }, { "bg", 0x02 }, { "ca", 0x03 }, { "cs", 0x05 }, { "da", 0x06 }, { "el", 0x08 },
        { "fi", 0x0b }, { "he", 0x0d }, { "hu", 0x0e }, { "is", 0x0f }, { "nb", 0x14 }, { "nn", 0x14 },
        { "no", 0x14 }, { "pl", 0x15 }, { "ro", 0x18 }, { "hr", 0x1a }, { "sr", 0x1a }, { "bs", 0x1a },
        { "sk", 0x1b }, { "sq", 0x1c }, { "sv", 0x1d }, { "th", 0x1e }, { "tr", 0x1f }, { "ur", 0x20 },
        { "id", 0x21 }, { "uk", 0x22 }, { "be", 0x23 }, { "sl", 0x24 }, { "et", 0x25 }, { "lv", 0x26 },
        { "lt", 0x27 }, { "fa", 0x29 }, { "vi", 0x2a }, { "hy", 0x2b }, { "eu", 0x2d }, { "mk", 0x2f },
        { "af", 0x36 }, { "ka", 0x37 }, { "hi", 0x39 }, { "ga", 0x3c }, { "ms", 0x3e }, { "kk", 0x3f },
        { "sw", 0x41 }, { "bn", 0x45 }, { "ta", 0x49 }, { "gl", 0x56 }, { "cy", 0x52 }
    };

    struct RegionalLanguage
    {
        const char* name;       // language_REGION
        juce::uint16 langId;    // the Windows language identifier
    };

    // Every region Windows distinguishes for the program's twelve languages.
    const RegionalLanguage regionalLanguages[] =
    {
        { "en_US", 0x0409 }, { "en_GB", 0x0809 }, { "en_AU", 0x0c09 }, { "en_CA", 0x1009 },
        { "en_NZ", 0x1409 }, { "en_IE", 0x1809 }, { "en_ZA", 0x1c09 }, { "en_JM", 0x2009 },
        { "en_BZ", 0x2809 }, { "en_TT", 0x2c09 }, { "en_ZW", 0x3009 }, { "en_PH", 0x3409 },
        { "en_HK", 0x3c09 }, { "en_IN", 0x4009 }, { "en_MY", 0x4409 }, { "en_SG", 0x4809 },

        { "fr_FR", 0x040c }, { "fr_BE", 0x080c }, { "fr_CA", 0x0c0c }, { "fr_CH", 0x100c },
        { "fr_LU", 0x140c }, { "fr_MC", 0x180c },

        { "de_DE", 0x0407 }, { "de_CH", 0x0807 }, { "de_AT", 0x0c07 }, { "de_LU", 0x1007 },
        { "de_LI", 0x1407 },

        { "es_ES", 0x0c0a }, { "es_MX", 0x080a }, { "es_GT", 0x100a }, { "es_CR", 0x140a },
        { "es_PA", 0x180a }, { "es_DO", 0x1c0a }, { "es_VE", 0x200a }, { "es_CO", 0x240a },
        { "es_PE", 0x280a }, { "es_AR", 0x2c0a }, { "es_EC", 0x300a }, { "es_CL", 0x340a },
        { "es_UY", 0x380a }, { "es_PY", 0x3c0a }, { "es_BO", 0x400a }, { "es_SV", 0x440a },
        { "es_HN", 0x480a }, { "es_NI", 0x4c0a }, { "es_PR", 0x500a }, { "es_US", 0x540a },

        { "it_IT", 0x0410 }, { "it_CH", 0x0810 },
        { "nl_NL", 0x0413 }, { "nl_BE", 0x0813 },
        { "ru_RU", 0x0419 }, { "ru_MD", 0x0819 },
        { "pt_BR", 0x0416 }, { "pt_PT", 0x0816 },

        { "zh_CN", 0x0804 }, { "zh_TW", 0x0404 }, { "zh_HK", 0x0c04 }, { "zh_SG", 0x1004 },
        { "zh_MO", 0x1404 },

        { "ko_KR", 0x0412 },
        { "ja_JP", 0x0411 }
    };

    juce::String localeIdString (juce::uint16 langId)
    {
        return juce::String::toHexString ((int) langId).toUpperCase().paddedLeft ('0', 8);
    }

    class PosixSource final : public Locales::Source
    {
    public:
        void enumInstalledLocales (Locales::InstalledLocaleCallback callback) override
        {
            const auto ids = Locales::localeIdsFromLocaleNames (listLocaleNames());

            for (const auto& id : ids)
                if (! callback (id.toRawUTF8()))
                    break;
        }

        juce::uint16 getUserDefaultLangId() override
        {
            return Locales::langIdFromEnvironment (juce::SystemStats::getEnvironmentVariable ("LC_ALL", {}),
                                                   juce::SystemStats::getEnvironmentVariable ("LC_MESSAGES", {}),
                                                   juce::SystemStats::getEnvironmentVariable ("LANG", {}));
        }

    private:
        // The locale archive is a binary format of the C library; asking the
        // C library's own tool keeps us out of it. No tool, no locales.
        static juce::StringArray listLocaleNames()
        {
            juce::ChildProcess process;

            if (! process.start ("locale -a", juce::ChildProcess::wantStdOut))
                return {};

            const auto output = process.readAllProcessOutput();
            process.waitForProcessToFinish (5000);

            juce::StringArray names;
            names.addLines (output);
            names.trim();
            names.removeEmptyStrings();
            return names;
        }
    };
}

namespace Locales
{
    Source& getSystemSource()
    {
        static PosixSource source;
        return source;
    }

    juce::uint16 langIdFromLocaleName (const juce::String& localeName)
    {
        // language[_REGION][.codeset][@modifier]
        auto name = localeName.trim().upToFirstOccurrenceOf (".", false, false)
                                     .upToFirstOccurrenceOf ("@", false, false);

        const auto language = name.upToFirstOccurrenceOf ("_", false, false).toLowerCase();
        const auto region = name.fromFirstOccurrenceOf ("_", false, false).toUpperCase();

        for (const auto& p : primaryLanguages)
        {
            if (language != p.code)
                continue;

            const auto full = language + "_" + region;

            for (const auto& r : regionalLanguages)
                if (full == r.name)
                    return r.langId;

            return p.primary;
        }

        return 0;
    }

    juce::StringArray localeIdsFromLocaleNames (const juce::StringArray& localeNames)
    {
        juce::StringArray ids;

        for (const auto& name : localeNames)
            if (const auto langId = langIdFromLocaleName (name); langId != 0)
                ids.addIfNotAlreadyThere (localeIdString (langId));

        return ids;
    }

    juce::uint16 langIdFromEnvironment (const juce::String& lcAll,
                                        const juce::String& lcMessages,
                                        const juce::String& lang)
    {
        for (const auto* value : { &lcAll, &lcMessages, &lang })
            if (value->isNotEmpty())
                return langIdFromLocaleName (*value);

        return 0;
    }
}
