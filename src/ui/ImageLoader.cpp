#include "ui/ImageLoader.h"
#include "ui/WarningSignData.h"

#include <cstring>
#include <memory>
#include <new>

const EmbeddedImage embeddedImages[] =
{
    { warningsign::pngData, warningsign::pngSize },
};

const int numEmbeddedImages = (int) (sizeof (embeddedImages) / sizeof (embeddedImages[0]));

namespace
{
    ImageLoader* imageStore = nullptr;

    juce::uint16 readU16 (const juce::uint8* p) { return (juce::uint16) (p[0] | (p[1] << 8)); }
    juce::int32 readI32 (const juce::uint8* p)  { return (juce::int32) juce::ByteOrder::littleEndianInt (p); }

    // An uncompressed bottom-up bitmap with 24 or 32 bits per pixel.
    juce::Image decodeBitmap (const void* data, juce::uint32 size)
    {
        constexpr juce::uint32 headerSize = 54;

        if (data == nullptr || size < headerSize)
            return {};

        std::unique_ptr<juce::uint8[]> buffer (new (std::nothrow) juce::uint8[size]);

        if (buffer == nullptr)
            return {};

        std::memcpy (buffer.get(), data, size);
        const auto* bytes = buffer.get();

        const int bitCount = readU16 (bytes + 28);
        const juce::int32 width = readI32 (bytes + 18);
        const juce::int32 height = readI32 (bytes + 22);

        if (bytes[0] != 0x42 || bytes[1] != 0x4d || (bitCount != 24 && bitCount != 32)
             || width == 0 || height == 0)
            return {};

        // A table entry is a complete bottom-up bitmap; anything else (a
        // top-down one, rows running past the end) gives no image rather
        // than a read outside the bytes.
        const int bytesPerPixel = bitCount / 8;
        const juce::int64 stride = (((juce::int64) bytesPerPixel * width + 3) / 4) * 4;

        if (width < 0 || height < 0 || headerSize + (juce::int64) height * stride > (juce::int64) size)
            return {};

        juce::Image image (bitCount == 24 ? juce::Image::RGB : juce::Image::ARGB, width, height, true);

        if (! image.isValid())
            return {};

        {
            const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);
            jassert (pixels.pixelStride == bytesPerPixel);

            for (int k = 0; k < height; ++k)
                std::memcpy (pixels.getLinePointer (height - 1 - k),
                             bytes + headerSize + k * stride,
                             (size_t) (width * bytesPerPixel));
        }

        juce::ImageCache::addImageToCache (image, (juce::int64) (juce::pointer_sized_int) (bytes + headerSize));
        return image;
    }
}

juce::Image decodeImageData (const void* data, juce::uint32 size)
{
    if (data == nullptr || size == 0)
        return {};

    auto image = juce::ImageCache::getFromMemory (data, (int) size);

    if (image.isValid())
        return image;

    return decodeBitmap (data, size);
}

juce::Image decodeImage (int index)
{
    if (! juce::isPositiveAndBelow (index, numEmbeddedImages))
        return {};

    return decodeImageData (embeddedImages[index].data, embeddedImages[index].size);
}

//==============================================================================
ImageLoader::ImageLoader()
{
    auto decoded = decodeImage (0);

    if (decoded.isValid())
        image = new juce::Image (decoded);
}

ImageLoader::~ImageLoader()
{
    if (image != nullptr)
    {
        delete image;
        image = nullptr;

        // Our reference is gone: let the cache drop what nobody else uses.
        juce::ImageCache::releaseUnusedImages();
    }
}

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
    if (imageStore != nullptr)
    {
        delete imageStore;
        imageStore = nullptr;
    }
}
