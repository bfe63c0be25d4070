#include "platform/Locales.h"

#include <windows.h>

// Windows hands over both facts in exactly the form the language rules take: installed locales as
// eight hexadecimal digits, the user's language as a 16-bit language identifier.
namespace Locales
{
    namespace
    {
        // EnumSystemLocalesA takes no context pointer: the callback in use is kept here for the
        // duration of one (synchronous) enumeration on the message thread.
        InstalledLocaleCallback activeCallback = nullptr;

        BOOL CALLBACK onSystemLocale (LPSTR localeId)
        {
            return activeCallback != nullptr && activeCallback (localeId) ? TRUE : FALSE;
        }

        class WindowsSource final : public Source
        {
        public:
            void enumInstalledLocales (InstalledLocaleCallback callback) override
            {
                if (callback == nullptr)
                    return;

                const auto previous = activeCallback;
                activeCallback = callback;
                EnumSystemLocalesA (onSystemLocale, LCID_INSTALLED);
                activeCallback = previous;
            }

            juce::uint16 getUserDefaultLangId() override
            {
                return static_cast<juce::uint16> (GetUserDefaultLangID());
            }
        };
    }

    Source& getSystemSource()
    {
        static WindowsSource source;
        return source;
    }
}
