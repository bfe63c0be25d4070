#include <gtest/gtest.h>

#include "CraftedPackage.h"
#include "package/PackageCheck.h"
#include "package/PackageFile.h"

#include <filesystem>

using PackageFile::ReadResult;

namespace
{
    struct PackageFileTest : public ::testing::Test
    {
        juce::TemporaryFile folderName;
        juce::File folder;

        void SetUp() override
        {
            folder = folderName.getFile();
            ASSERT_TRUE (folder.createDirectory());
        }

        void TearDown() override { folder.deleteRecursively(); }

        juce::File write (const std::vector<std::uint8_t>& bytes)
        {
            // replaceWithData deletes the file when given no bytes.
            auto file = folder.getChildFile ("KMX-Q7_UP.upd");
            file.deleteFile();
            file.create();

            if (! bytes.empty())
                file.replaceWithData (bytes.data(), bytes.size());
            return file;
        }

        // A sparse file of the given length: costs no disk space.
        juce::File sparse (std::uintmax_t length)
        {
            auto file = folder.getChildFile ("sparse.upd");
            file.create();
            std::filesystem::resize_file (file.getFullPathName().toStdString(), length);
            return file;
        }
    };
}

TEST_F (PackageFileTest, ReadsTheWholeFile)
{
    const auto bytes = CraftedPackage::valid().bytes();
    juce::MemoryBlock block;
    ASSERT_EQ (PackageFile::read (write (bytes), block), ReadResult::ok);
    ASSERT_EQ (block.getSize(), bytes.size());
    EXPECT_EQ (std::memcmp (block.getData(), bytes.data(), bytes.size()), 0);
}

TEST_F (PackageFileTest, WhatIsNotAPackageFile)
{
    juce::MemoryBlock block;
    EXPECT_EQ (PackageFile::read (folder.getChildFile ("missing.upd"), block), ReadResult::missing);
    EXPECT_EQ (PackageFile::read (folder, block), ReadResult::missing);   // a directory

    // An empty file reads fine and is then an invalid package.
    EXPECT_EQ (PackageFile::read (write ({}), block), ReadResult::ok);
    EXPECT_EQ (block.getSize(), 0u);
    EXPECT_FALSE (PackageCheck::check (static_cast<const std::uint8_t*> (block.getData()), 0, "KMX-Q7 ").isValid());
}

// Files longer than the largest valid package are refused by their length
// alone, before any memory is taken for them.
TEST_F (PackageFileTest, SizeLimit)
{
    juce::MemoryBlock block;
    EXPECT_EQ (PackageFile::read (sparse (PackageLayout::maxFileSize + 1), block), ReadResult::tooLarge);
    EXPECT_EQ (block.getSize(), 0u);
    EXPECT_EQ (PackageFile::read (sparse (1ull << 32), block), ReadResult::tooLarge);
    EXPECT_EQ (PackageFile::read (sparse (1ull << 40), block), ReadResult::tooLarge);

    EXPECT_EQ (PackageFile::read (sparse (PackageLayout::maxFileSize), block), ReadResult::ok);
    EXPECT_EQ (block.getSize(), PackageLayout::maxFileSize);
}
