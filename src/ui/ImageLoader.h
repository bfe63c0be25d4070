#pragma once

#include <juce_graphics/juce_graphics.h>

// One encoded image built into the program.
struct EmbeddedImage
{
    const void* data;
    juce::uint32 size;
};

// The images built into the program: index 0 is the warning sign (PNG).
extern const EmbeddedImage embeddedImages[];
extern const int numEmbeddedImages;

// Decodes encoded image bytes: anything JUCE's image formats read (through
// the ImageCache), else an uncompressed 24- or 32-bit bottom-up bitmap.
// An invalid image when neither works.
juce::Image decodeImageData (const void* data, juce::uint32 size);

// decodeImageData over entry index of embeddedImages; invalid out of range.
juce::Image decodeImage (int index);

// The store of the decoded built-in images; one per process.
class ImageLoader
{
public:
    ImageLoader();
    virtual ~ImageLoader();

    // The image at that index, or null. The store keeps it.
    const juce::Image* getImage (int index) const;

private:
    juce::Image* image = nullptr;

    JUCE_DECLARE_NON_COPYABLE (ImageLoader)
};

void createImageStore();
ImageLoader* getImageStore();
void deleteImageStore();
