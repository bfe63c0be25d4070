#include "ui/ImageLoader.h"

static ImageLoader* imageStore = nullptr;

ImageLoader::ImageLoader() = default;
ImageLoader::~ImageLoader() { delete image; }

const juce::Image* ImageLoader::getImage (int index) const
{
    return index == 0 ? image : nullptr;
}

void createImageStore()
{
    if (imageStore == nullptr)
        imageStore = new ImageLoader();
}

ImageLoader* getImageStore()
{
    createImageStore();
    return imageStore;
}

void deleteImageStore()
{
    delete imageStore;
    imageStore = nullptr;
}
