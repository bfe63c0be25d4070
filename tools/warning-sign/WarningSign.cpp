// Draws the 56 x 55 warning sign: an upright triangle with a soft grey rim,
// a thick black border, a yellow face with a lighter line inside its left
// and bottom borders, and a black exclamation mark.
#include <juce_graphics/juce_graphics.h>
#include <iostream>

namespace
{
    constexpr int imageWidth = 56;
    constexpr int imageHeight = 55;

    struct Triangle
    {
        juce::Point<float> apex, left, right;

        // The triangle whose sides lie the given distance inside this one's.
        Triangle inset (float distance) const
        {
            const float a = left.getDistanceFrom (right);
            const float b = apex.getDistanceFrom (right);
            const float c = apex.getDistanceFrom (left);
            const auto centre = (apex * a + left * b + right * c) / (a + b + c);

            const float s = (a + b + c) * 0.5f;
            const float area = std::sqrt (s * (s - a) * (s - b) * (s - c));
            const float inradius = area / s;
            const float k = (inradius - distance) / inradius;

            return { centre + (apex - centre) * k, centre + (left - centre) * k, centre + (right - centre) * k };
        }

        juce::Path path (float cornerRadius) const
        {
            juce::Path p;
            p.addTriangle (apex, left, right);
            return cornerRadius > 0.0f ? p.createPathWithRoundedCorners (cornerRadius) : p;
        }
    };

    juce::Image drawSign()
    {
        juce::Image image (juce::Image::ARGB, imageWidth, imageHeight, true);
        juce::Graphics g (image);

        const Triangle outer { { 28.0f, 0.0f }, { 0.0f, 55.0f }, { 56.0f, 55.0f } };
        const Triangle border = outer.inset (2.5f);
        const Triangle face = border.inset (3.0f);

        // Soft grey rim: opaque inside, fading over its outer pixel.
        g.setColour (juce::Colour (121, 121, 121).withAlpha (0.55f));
        g.fillPath (outer.path (2.0f));
        g.setColour (juce::Colour (121, 121, 121));
        g.fillPath (outer.inset (0.8f).path (2.0f));

        g.setColour (juce::Colours::black);
        g.fillPath (border.path (1.5f));

        g.setColour (juce::Colour (225, 208, 64));
        g.fillPath (face.path (0.8f));

        // The lighter line just inside the left and bottom borders.
        const Triangle light = face.inset (1.0f);
        juce::Path lightLine;
        lightLine.startNewSubPath (light.apex.translated (-0.3f, 2.0f));
        lightLine.lineTo (light.left);
        lightLine.lineTo (light.right.translated (-1.5f, 0.0f));
        g.setColour (juce::Colour (246, 227, 70));
        g.strokePath (lightLine, juce::PathStrokeType (1.4f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));

        // Exclamation mark: a bar narrowing downwards, then a round dot.
        juce::Path bar;
        bar.startNewSubPath (25.0f, 20.5f);
        bar.lineTo (31.0f, 20.5f);
        bar.lineTo (29.7f, 37.0f);
        bar.lineTo (26.3f, 37.0f);
        bar.closeSubPath();
        g.setColour (juce::Colours::black);
        g.fillPath (bar.createPathWithRoundedCorners (1.2f));
        g.fillEllipse (24.8f, 40.4f, 6.4f, 6.4f);

        return image;
    }

    bool writePng (const juce::Image& image, const juce::File& file)
    {
        file.deleteFile();
        juce::FileOutputStream out (file);

        if (! out.openedOk())
            return false;

        juce::PNGImageFormat png;
        return png.writeImageToStream (image, out);
    }
}

int main (int argc, char** argv)
{
    if (argc != 2 && argc != 4)
    {
        std::cerr << "usage: warning-sign <out.png> [<preview.png> <scale>]\n";
        return 2;
    }

    const auto sign = drawSign();

    if (! writePng (sign, juce::File::getCurrentWorkingDirectory().getChildFile (argv[1])))
        return 1;

    if (argc == 4)
    {
        // An enlarged copy over the window's grey, for looking at it.
        const int scale = juce::jmax (1, juce::String (argv[3]).getIntValue());
        juce::Image preview (juce::Image::RGB, imageWidth * scale, imageHeight * scale, false);
        juce::Graphics g (preview);
        g.fillAll (juce::Colour (234, 234, 234));
        g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
        g.drawImageTransformed (sign, juce::AffineTransform::scale ((float) scale));

        if (! writePng (preview, juce::File::getCurrentWorkingDirectory().getChildFile (argv[2])))
            return 1;
    }

    return 0;
}
