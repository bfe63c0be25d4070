#include "app/MainComponent.h"

// Placeholder: every package is invalid.
int MainComponent::readPackage (const juce::String&, const char*, int* versionOut)
{
    if (versionOut != nullptr)
        *versionOut = -1;

    return 0;
}
