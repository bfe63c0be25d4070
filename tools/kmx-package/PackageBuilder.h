#pragma once

#include <juce_core/juce_core.h>

// Assembles an update package from eight segment files.
class PackageBuilder
{
public:
    struct Segment
    {
        bool enabled = false;   // written to the controller ('Y') or not ('N')
        juce::File source;      // whose bytes form the segment's data
    };

    // Builds the whole package in memory. Returns an empty string on success,
    // otherwise a one-line message saying what is wrong; `package` is then
    // left empty.
    static juce::String build (int version, const Segment (&segments)[8], juce::MemoryBlock& package);

    // Writes `package` to `target` through a temporary file beside it, so a
    // failure never leaves a partly written target behind. Returns an empty
    // string on success, otherwise a one-line message.
    static juce::String write (const juce::MemoryBlock& package, const juce::File& target);
};
