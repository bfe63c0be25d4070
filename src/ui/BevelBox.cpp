#include "ui/BevelBox.h"

namespace bevelbox
{
namespace
{
    // Arc angles, clockwise from 12 o'clock.
    constexpr float quarter      = 1.5707964f;
    constexpr float half         = 3.1415927f;
    constexpr float threeQuarter = 4.712389f;
    constexpr float full         = 6.2831855f;
}

void addBoxOutline (juce::Path& path, float x, float y, float w, float h, float cs,
                    bool curveTopLeft, bool curveTopRight, bool curveBottomLeft, bool curveBottomRight)
{
    const float c2 = cs * 2.0f;

    if (curveTopLeft)
    {
        path.startNewSubPath (x, y + cs);
        path.addArc (x, y, c2, c2, threeQuarter, full);
    }
    else
    {
        path.startNewSubPath (x, y);
    }

    if (curveTopRight)
    {
        path.lineTo (x + w - cs, y);
        path.addArc (x + w - c2, y, c2, c2, 0.0f, quarter);
    }
    else
    {
        path.lineTo (x + w, y);
    }

    if (curveBottomRight)
    {
        path.lineTo (x + w, y + h - cs);
        path.addArc (x + w - c2, y + h - c2, c2, c2, quarter, half);
    }
    else
    {
        path.lineTo (x + w, y + h);
    }

    if (curveBottomLeft)
    {
        path.lineTo (x + cs, y + h);
        path.addArc (x, y + h - c2, c2, c2, half, threeQuarter);
    }
    else
    {
        path.lineTo (x, y + h);
    }

    path.closeSubPath();
}

void addUpperLeftEdge (juce::Path& path, float x, float y, float w, float h, float cs,
                       bool curveTopLeft, bool curveTopRight, bool curveBottomLeft)
{
    const float c2 = cs * 2.0f;

    if (curveBottomLeft)
    {
        path.startNewSubPath (x + cs, y + h);
        path.addArc (x, y + h - c2, c2, c2, half, threeQuarter);
    }
    else
    {
        path.startNewSubPath (x, y + h);
    }

    if (curveTopLeft)
    {
        path.lineTo (x, y + cs);
        path.addArc (x, y, c2, c2, threeQuarter, full);
    }
    else
    {
        path.lineTo (x, y);
    }

    path.lineTo (curveTopRight ? x + w - cs : x + w, y);
}

void addLowerRightEdge (juce::Path& path, float x, float y, float w, float h, float cs,
                        bool curveTopRight, bool curveBottomLeft, bool curveBottomRight)
{
    const float c2 = cs * 2.0f;

    if (curveTopRight)
    {
        path.startNewSubPath (x + w - cs, y);
        path.addArc (x + w - c2, y, c2, c2, 0.0f, quarter);
    }
    else
    {
        path.startNewSubPath (x + w, y);
    }

    if (curveBottomRight)
    {
        path.lineTo (x + w, y + h - cs);
        path.addArc (x + w - c2, y + h - c2, c2, c2, quarter, half);
    }
    else
    {
        path.lineTo (x + w, y + h);
    }

    path.lineTo (curveBottomLeft ? x + cs : x, y + h);
}

void drawBevelBox (juce::Graphics& g, float x, float y, float w, float h,
                   juce::Colour fill, float lineThickness, float cornerSize,
                   bool flatLeft, bool flatRight, bool flatTop, bool flatBottom,
                   bool sunken)
{
    if (lineThickness >= w || lineThickness >= h)
        return;

    const float cs = cornerSize >= 0.0f ? cornerSize : juce::jmin (w * 0.5f, h * 0.5f);

    const bool curveTopLeft     = ! (flatLeft  || flatTop);
    const bool curveTopRight    = ! (flatRight || flatTop);
    const bool curveBottomLeft  = ! (flatLeft  || flatBottom);
    const bool curveBottomRight = ! (flatRight || flatBottom);

    const juce::PathStrokeType stroke (lineThickness, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);

    juce::Path outline;
    addBoxOutline (outline, x, y, w, h, cs, curveTopLeft, curveTopRight, curveBottomLeft, curveBottomRight);
    g.setColour (fill);
    g.fillPath (outline);

    juce::Path upperLeft;
    addUpperLeftEdge (upperLeft, x, y, w, h, cs, curveTopLeft, curveTopRight, curveBottomLeft);
    g.setColour (sunken ? juce::Colours::black : juce::Colours::white);
    g.strokePath (upperLeft, stroke);

    juce::Path lowerRight;
    addLowerRightEdge (lowerRight, x, y, w, h, cs, curveTopRight, curveBottomLeft, curveBottomRight);
    g.setColour (sunken ? juce::Colours::white : juce::Colours::black);
    g.strokePath (lowerRight, stroke);
}
}
