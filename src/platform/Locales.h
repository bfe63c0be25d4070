#pragma once

#include <juce_core/juce_core.h>

// What the system says about languages: which locales are installed, and
// which language the user has chosen. The language rules of the text table
// consume exactly these two facts, in the form Windows delivers them:
//
// - an installed locale is a NUL-terminated string of eight hexadecimal
//   digits, the locale identifier, whose last two digits are the low byte of
//   its language identifier ("00000411" for Japanese, "00000809" for British
//   English); each installed locale is handed once to a callback, on the
//   calling thread, before enumInstalledLocales returns;
// - the user's language is a 16-bit Windows language identifier (0x0411 for
//   Japanese, 0x0809 for British English, 0 when the system names none).
//
// Each system implements the two functions of the system source
// (Locales_win32.cpp: EnumSystemLocalesA with flag 1 and
// GetUserDefaultLangID; Locales_posix.cpp: `locale -a` and the locale
// environment). Tests substitute a source of their own with
// ScopedLocaleSource; the program never does.
namespace Locales
{
    // Called once per installed locale; returns false to stop the enumeration.
    using InstalledLocaleCallback = bool (*) (const char* localeId);

    // A supplier of the two facts.
    class Source
    {
    public:
        virtual ~Source() = default;

        // Calls the callback synchronously for each installed locale until it
        // returns false or the locales are exhausted.
        virtual void enumInstalledLocales (InstalledLocaleCallback callback) = 0;

        // The user's default language identifier.
        virtual juce::uint16 getUserDefaultLangId() = 0;
    };

    // The running system's source. Implemented once per system.
    Source& getSystemSource();

    // The source in use: a substitute while one is set, else the system's.
    inline Source*& substituteSlot() noexcept
    {
        static Source* substitute = nullptr;
        return substitute;
    }

    inline Source& getSource()
    {
        auto* substitute = substituteSlot();
        return substitute != nullptr ? *substitute : getSystemSource();
    }

    inline void enumInstalledLocales (InstalledLocaleCallback callback)  { getSource().enumInstalledLocales (callback); }
    inline juce::uint16 getUserDefaultLangId()                           { return getSource().getUserDefaultLangId(); }

    // Puts a source in place of the system's for as long as it lives (tests).
    // The source is not owned and must outlive the substitution.
    class ScopedLocaleSource
    {
    public:
        explicit ScopedLocaleSource (Source& source) : previous (substituteSlot())   { substituteSlot() = &source; }
        ~ScopedLocaleSource()                                                          { substituteSlot() = previous; }

    private:
        Source* previous;

        JUCE_DECLARE_NON_COPYABLE (ScopedLocaleSource)
    };

    // The POSIX source's translation of locale names into the Windows form,
    // exposed for its tests (defined in Locales_posix.cpp only).
    //
    // A locale name is "language[_REGION][.codeset][@modifier]". The language
    // identifier of a known language and region is Windows' own (en_GB ->
    // 0x0809, pt_BR -> 0x0416, zh_TW -> 0x0404); a known language with an
    // unknown or missing region gives the language alone (fr_XX -> 0x000C);
    // anything else, "C" and "POSIX" included, gives 0.
    juce::uint16 langIdFromLocaleName (const juce::String& localeName);

    // The installed-locale strings for the names `locale -a` prints, one per
    // distinct identifier, in order of first appearance; names that map to
    // nothing contribute nothing.
    juce::StringArray localeIdsFromLocaleNames (const juce::StringArray& localeNames);

    // The user's language from the locale environment: the first non-empty
    // of LC_ALL, LC_MESSAGES and LANG, mapped as above.
    juce::uint16 langIdFromEnvironment (const juce::String& lcAll,
                                        const juce::String& lcMessages,
                                        const juce::String& lang);
}
