#include <gtest/gtest.h>

#include "ImageTools.h"
#include "ui/ImageLoader.h"

#include <vector>

using imagetools::near;

namespace
{
    struct StoreFixture : testing::Test
    {
        void TearDown() override { deleteImageStore(); }
    };

    // An uncompressed bottom-up bitmap: header, then the rows as given,
    // each padded to four bytes.
    std::vector<juce::uint8> bitmap (int bits, int width, int height, const std::vector<std::vector<juce::uint8>>& rows)
    {
        std::vector<juce::uint8> b (54, 0);
        b[0] = 'B'; b[1] = 'M';
        auto put32 = [&] (int at, juce::int32 v) { for (int i = 0; i < 4; ++i) b[(size_t) (at + i)] = (juce::uint8) ((juce::uint32) v >> (8 * i)); };
        put32 (10, 54);
        put32 (14, 40);
        put32 (18, width);
        put32 (22, height);
        b[26] = 1;
        b[28] = (juce::uint8) bits;

        for (auto& row : rows)
        {
            b.insert (b.end(), row.begin(), row.end());
            while ((b.size() - 54) % 4 != 0)
                b.push_back (0);
        }

        put32 (2, (juce::int32) b.size());
        return b;
    }

    juce::Image decode (const std::vector<juce::uint8>& bytes)
    {
        return decodeImageData (bytes.data(), (juce::uint32) bytes.size());
    }
}

TEST_F (StoreFixture, HandsOutTheWarningSignAtIndexZeroOnly)
{
    auto* image = getImageStore()->getImage (0);
    ASSERT_NE (image, nullptr);
    EXPECT_EQ (image->getWidth(), 56);
    EXPECT_EQ (image->getHeight(), 55);
    EXPECT_TRUE (image->hasAlphaChannel());

    EXPECT_EQ (getImageStore()->getImage (1), nullptr);
    EXPECT_EQ (getImageStore()->getImage (-1), nullptr);
    EXPECT_FALSE (decodeImage (1).isValid());
    EXPECT_FALSE (decodeImage (-1).isValid());
}

TEST_F (StoreFixture, OneStoreUntilDeletedThenAFreshOne)
{
    auto* first = getImageStore();          // created on first use
    auto* firstImage = first->getImage (0);
    createImageStore();                     // keeps the one there is
    EXPECT_EQ (getImageStore(), first);
    EXPECT_EQ (getImageStore()->getImage (0), firstImage);

    deleteImageStore();
    deleteImageStore();                     // nothing left to delete
    ASSERT_NE (getImageStore()->getImage (0), nullptr);
    EXPECT_EQ (getImageStore()->getImage (0)->getWidth(), 56);
}

TEST_F (StoreFixture, WarningSignLooksTheWayItShould)
{
    const auto& sign = *getImageStore()->getImage (0);
    const juce::Colour face (225, 208, 64), black (0, 0, 0), rim (121, 121, 121);

    // Transparent outside the triangle, grey rim, black border, yellow face,
    // black exclamation mark with its dot.
    EXPECT_EQ (sign.getPixelAt (0, 0).getAlpha(), 0);
    EXPECT_EQ (sign.getPixelAt (55, 0).getAlpha(), 0);
    EXPECT_EQ (sign.getPixelAt (5, 30).getAlpha(), 0);
    EXPECT_TRUE (near (sign.getPixelAt (28, 53), rim, 30));
    EXPECT_GT (sign.getPixelAt (28, 54).getAlpha(), 100);   // soft outer edge
    EXPECT_TRUE (near (sign.getPixelAt (28, 51), black, 10));
    EXPECT_TRUE (near (sign.getPixelAt (18, 44), face, 12));
    EXPECT_TRUE (near (sign.getPixelAt (36, 44), face, 12));
    EXPECT_TRUE (near (sign.getPixelAt (28, 27), black, 10));
    EXPECT_TRUE (near (sign.getPixelAt (28, 43), black, 10));
    EXPECT_TRUE (near (sign.getPixelAt (28, 39), face, 40));   // between the bar and the dot
}

TEST (BitmapFallback, TwentyFourBitRowsAreBottomUp)
{
    // Two rows of two BGR pixels: the first row in the data is the bottom one.
    const auto bytes = bitmap (24, 2, 2, { { 0, 0, 255,  0, 255, 0 },        // red, green
                                           { 255, 0, 0,  255, 255, 255 } }); // blue, white
    ASSERT_EQ (bytes.size(), 54u + 16u);

    const auto image = decode (bytes);
    ASSERT_TRUE (image.isValid());
    EXPECT_EQ (image.getFormat(), juce::Image::RGB);
    EXPECT_EQ (image.getPixelAt (0, 0), juce::Colour (0, 0, 255));
    EXPECT_EQ (image.getPixelAt (1, 0), juce::Colour (255, 255, 255));
    EXPECT_EQ (image.getPixelAt (0, 1), juce::Colour (255, 0, 0));
    EXPECT_EQ (image.getPixelAt (1, 1), juce::Colour (0, 255, 0));
}

TEST (BitmapFallback, ThirtyTwoBitGivesAnImageWithAlpha)
{
    const auto image = decode (bitmap (32, 1, 2, { { 10, 20, 30, 255 }, { 0, 0, 0, 255 } }));
    ASSERT_TRUE (image.isValid());
    EXPECT_EQ (image.getFormat(), juce::Image::ARGB);
    EXPECT_EQ (image.getPixelAt (0, 1), juce::Colour (30, 20, 10));
}

TEST (BitmapFallback, AnythingElseGivesNoImage)
{
    struct Case { const char* what; std::vector<juce::uint8> bytes; };
    const std::vector<Case> cases =
    {
        { "8 bits",            bitmap (8, 2, 2, { { 1, 2 }, { 3, 4 } }) },
        { "16 bits",           bitmap (16, 2, 2, { { 1, 2, 3, 4 }, { 5, 6, 7, 8 } }) },
        { "width 0",           bitmap (24, 0, 2, { {}, {} }) },
        { "height 0",          bitmap (24, 2, 0, {}) },
        { "negative height",   bitmap (24, 2, -2, { { 1, 2, 3, 4, 5, 6 }, { 1, 2, 3, 4, 5, 6 } }) },
        { "rows past the end", bitmap (24, 2, 50, { { 1, 2, 3, 4, 5, 6 } }) },
        { "not a bitmap",      { 'X', 'Y', 1, 2, 3 } },
        { "short header",      { 'B', 'M', 0, 0 } },
    };

    for (auto& c : cases)
        EXPECT_FALSE (decode (c.bytes).isValid()) << c.what;

    EXPECT_FALSE (decodeImageData (nullptr, 0).isValid());
}
