#pragma once

#include <juce_graphics/juce_graphics.h>

// The images built into the program, decoded once. (Placeholder: none.)
class ImageLoader
{
public:
    ImageLoader();
    virtual ~ImageLoader();

    // The image at that index, or null.
    const juce::Image* getImage (int index) const;

private:
    juce::Image* image = nullptr;

    JUCE_DECLARE_NON_COPYABLE (ImageLoader)
};

void createImageStore();
ImageLoader* getImageStore();
void deleteImageStore();
