#include "platform/Locales.h"

#include <windows.h>

// Windows names the installed locales and the user's language itself.
// EnumSystemLocalesA has no context argument, so the callback in use waits
// in a static while the enumeration runs; the enumeration is synchronous and
// only the message thread asks.

namespace
{
    Locales::InstalledLocaleCallback currentCallback = nullptr;

    BOOL CALLBACK onLocale (LPSTR localeId)
    {
        return currentCallback != nullptr && currentCallback (localeId) ? TRUE : FALSE;
    }

    class WindowsSource final : public Locales::Source
    {
    public:
        void enumInstalledLocales (Locales::InstalledLocaleCallback callback) override
        {
            currentCallback = callback;
            EnumSystemLocalesA (onLocale, LCID_INSTALLED);
            currentCallback = nullptr;
        }

        juce::uint16 getUserDefaultLangId() override
        {
            return (juce::uint16) GetUserDefaultLangID();
        }
    };
}

Locales::Source& Locales::getSystemSource()
{
    static WindowsSource source;
    return source;
}
