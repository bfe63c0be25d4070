#pragma once

#include <juce_graphics/juce_graphics.h>

// A flat box with a light and a dark edge line, raised or sunken, with
// square or quarter-circle corners.
namespace bevelbox
{
    // Draws nothing unless the box is wider and higher than the line.
    // A negative corner size means half the shorter side.
    void drawBevelBox (juce::Graphics& g, float x, float y, float w, float h,
                       juce::Colour fill, float lineThickness, float cornerSize,
                       bool flatLeft, bool flatRight, bool flatTop, bool flatBottom,
                       bool sunken);

    // The closed outline of the box.
    void addBoxOutline (juce::Path& path, float x, float y, float w, float h, float cs,
                        bool curveTopLeft, bool curveTopRight, bool curveBottomLeft, bool curveBottomRight);

    // The open line along the left and top edges, from the bottom-left corner
    // to the top-right one.
    void addUpperLeftEdge (juce::Path& path, float x, float y, float w, float h, float cs,
                           bool curveTopLeft, bool curveTopRight, bool curveBottomLeft);

    // The open line along the right and bottom edges, from the top-right
    // corner to the bottom-left one.
    void addLowerRightEdge (juce::Path& path, float x, float y, float w, float h, float cs,
                            bool curveTopRight, bool curveBottomLeft, bool curveBottomRight);
}
