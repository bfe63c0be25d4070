#pragma once

#include <juce_graphics/juce_graphics.h>
#include <functional>

// Small helpers for looking at rendered images.
namespace imagetools
{
    // The smallest rectangle holding every pixel that passes the test; empty if none.
    inline juce::Rectangle<int> boundsOf (const juce::Image& image, const std::function<bool (juce::Colour)>& test)
    {
        int x0 = image.getWidth(), y0 = image.getHeight(), x1 = -1, y1 = -1;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (test (image.getPixelAt (x, y)))
                {
                    x0 = juce::jmin (x0, x); y0 = juce::jmin (y0, y);
                    x1 = juce::jmax (x1, x); y1 = juce::jmax (y1, y);
                }

        return x1 < 0 ? juce::Rectangle<int>() : juce::Rectangle<int> (x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    }

    inline int count (const juce::Image& image, juce::Rectangle<int> area, const std::function<bool (juce::Colour)>& test)
    {
        area = area.getIntersection (image.getBounds());
        int n = 0;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (test (image.getPixelAt (x, y)))
                    ++n;

        return n;
    }

    inline bool near (juce::Colour c, juce::Colour expected, int tolerance = 3)
    {
        return std::abs (c.getRed() - expected.getRed()) <= tolerance
            && std::abs (c.getGreen() - expected.getGreen()) <= tolerance
            && std::abs (c.getBlue() - expected.getBlue()) <= tolerance
            && std::abs (c.getAlpha() - expected.getAlpha()) <= tolerance;
    }
}
