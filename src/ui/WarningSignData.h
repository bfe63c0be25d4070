#pragma once

#include <juce_core/juce_core.h>

// The warning sign as a PNG file, 56 x 55 pixels, RGBA.
namespace warningsign
{
    extern const unsigned char pngData[];
    extern const juce::uint32 pngSize;
}
