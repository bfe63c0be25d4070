#include "platform/FontNames.h"
#include "platform/FontEquivalents.h"

// The name mapping is the same on every system; what differs is which
// families are installed.
namespace fontnames
{
    juce::String resolve (const juce::String& name)
    {
        const auto& installed = installedFamilies();

        if (name.isEmpty() || name.startsWithChar ('<') || installed.contains (name))
            return name;

        for (auto& equivalent : equivalents)
            if (name.equalsIgnoreCase (equivalent.windowsName))
                for (auto* family : equivalent.families)
                    if (family != nullptr && installed.contains (family))
                        return family;

        return name;
    }
}
