#pragma once

#include "platform/Locales.h"
#include <vector>

// A locale source with a fixed answer, put in place of the system's for as
// long as it lives. A null entry in the list is handed over as a null string.
class FakeLocaleSource : public Locales::Source
{
public:
    FakeLocaleSource (std::vector<const char*> installedLocales, juce::uint16 userLangId)
        : locales (std::move (installedLocales)), user (userLangId), substitution (*this) {}

    void enumInstalledLocales (Locales::InstalledLocaleCallback callback) override
    {
        for (auto* locale : locales)
        {
            ++handedOver;

            if (! callback (locale))
                break;
        }
    }

    juce::uint16 getUserDefaultLangId() override { return user; }

    int handedOver = 0;

private:
    std::vector<const char*> locales;
    juce::uint16 user;
    Locales::ScopedLocaleSource substitution;
};
