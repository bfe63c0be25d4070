#include "ScreenCheck.h"

#include "app/MainComponent.h"
#include "support/MainComponentProbe.h"
#include "text/TxtLoader.h"

namespace e2e
{
    ExpectedScreens::ExpectedScreens() : component (std::make_unique<MainComponent>()) {}

    ExpectedScreens::~ExpectedScreens() = default;

    juce::String ExpectedScreens::title() const
    {
        return getTextTable()->getText (TextTitle);
    }

    juce::Image ExpectedScreens::render (ScreenState state, bool packageValid, int width, int height)
    {
        MainComponentProbe probe (*component);
        probe.packageValid() = packageValid ? 1 : 0;
        probe.packageVersion() = packageValid ? 110 : -1;
        probe.deviceVersion() = 105;
        probe.progress() = 0.0;
        probe.state() = state;

        component->setSize (width, height);
        component->resized();
        return component->createComponentSnapshot (component->getLocalBounds(), true, 1.0f);
    }

    Comparison compare (const juce::Image& actual, const juce::Image& expected, juce::Rectangle<int> ignore)
    {
        constexpr int tolerance = 40;   // per channel, out of 255
        Comparison c;
        c.sameSize = actual.isValid() && expected.isValid()
                  && actual.getWidth() == expected.getWidth() && actual.getHeight() == expected.getHeight();

        if (! c.sameSize)
        {
            c.differing = std::numeric_limits<int>::max();
            return c;
        }

        c.diff = juce::Image (juce::Image::ARGB, expected.getWidth(), expected.getHeight(), false);

        for (int y = 0; y < expected.getHeight(); ++y)
            for (int x = 0; x < expected.getWidth(); ++x)
            {
                const auto a = actual.getPixelAt (x, y);
                const auto e = expected.getPixelAt (x, y);
                const bool ignored = ignore.contains (x, y);
                const bool differs = ! ignored
                                  && (std::abs (a.getRed() - e.getRed()) > tolerance
                                      || std::abs (a.getGreen() - e.getGreen()) > tolerance
                                      || std::abs (a.getBlue() - e.getBlue()) > tolerance);

                if (differs)
                    ++c.differing;

                c.diff.setPixelAt (x, y, differs ? juce::Colours::red
                                                 : e.interpolatedWith (juce::Colours::white, ignored ? 0.9f : 0.7f));
            }

        return c;
    }

    bool isMatch (const Comparison& c)
    {
        return c.sameSize && c.differing <= 20;
    }

    static bool writePng (const juce::Image& image, const juce::File& file)
    {
        if (! image.isValid())
            return false;

        file.deleteFile();
        juce::FileOutputStream out (file);
        juce::PNGImageFormat png;
        return out.openedOk() && png.writeImageToStream (image, out);
    }

    juce::String saveMismatch (const juce::File& folder, const juce::String& name,
                               const juce::Image& actual, const juce::Image& expected, const Comparison& c)
    {
        folder.createDirectory();
        writePng (actual, folder.getChildFile (name + "-actual.png"));
        writePng (expected, folder.getChildFile (name + "-expected.png"));
        writePng (c.diff, folder.getChildFile (name + "-diff.png"));

        juce::String sizes;
        if (! c.sameSize)
            sizes << " (window " << actual.getWidth() << "x" << actual.getHeight()
                  << ", expected " << expected.getWidth() << "x" << expected.getHeight() << ")";
        else
            sizes << " (" << c.differing << " pixels differ)";

        return "screen '" + name + "' does not match" + sizes + "; pictures in "
             + folder.getChildFile (name).getFullPathName() + "-{actual,expected,diff}.png";
    }

    double barFill (const juce::Image& window, juce::Rectangle<int> bar)
    {
        // The track is inset by 2 pixels; read the row just inside its top,
        // above most of the centred text.
        const int y = bar.getY() + 3;
        const int left = bar.getX() + 2, right = bar.getRight() - 2;

        if (! window.isValid() || right <= left || y >= window.getHeight() || right > window.getWidth())
            return 0.0;

        int filled = 0;

        for (int x = left; x < right; ++x)
        {
            const auto brightness = window.getPixelAt (x, y).getBrightness();

            if (brightness > 0.25f && brightness < 0.9f)
                ++filled;
        }

        return (double) filled / (double) (right - left);
    }
}
