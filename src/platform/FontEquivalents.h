#pragma once

#include <juce_graphics/juce_graphics.h>

// The fonts the texts name, and installed families of the same kind to draw
// with where a system lacks them (metric-compatible where there is one). Linux
// never has the Windows names; Wine has none of them either, but sees the
// host's fonts.
namespace fontnames
{
    struct Equivalent
    {
        const char* windowsName;
        const char* families[3];
    };

    // Debian packages: fonts-liberation2, fonts-droid-fallback, fonts-nanum,
    // fonts-ipafont-gothic.
    inline constexpr Equivalent equivalents[] =
    {
        { "Arial",           { "Liberation Sans", "Arimo", "DejaVu Sans" } },
        { "Microsoft YaHei", { "Droid Sans Fallback", "Noto Sans CJK SC", nullptr } },
        { "Malgun Gothic",   { "NanumGothic", "NanumBarunGothic", nullptr } },
        { "MS UI Gothic",    { "Droid Sans Fallback", "IPAPGothic", "IPAGothic" } },
    };

    // The families this system has, read once.
    inline const juce::StringArray& installedFamilies()
    {
        static const juce::StringArray families = juce::Font::findAllTypefaceNames();
        return families;
    }
}
