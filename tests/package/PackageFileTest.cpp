#include <gtest/gtest.h>

#include "CraftedPackage.h"
#include "package/PackageCheck.h"
#include "package/PackageFile.h"

#include <filesystem>

#if defined (_WIN32)
  #ifndef NOMINMAX
    #define NOMINMAX
  #endif
  #ifndef WIN32_LEAN_AND_MEAN
    #define WIN32_LEAN_AND_MEAN
  #endif
  #include <windows.h>
  #include <winioctl.h>
#endif

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
        //
        // On Windows a file is only sparse once marked so; a plain one takes real clusters up
        // to its length. std::filesystem::resize_file cannot do that, and MinGW's runtime under
        // it refuses to lengthen a file past the disk's free space at all ("File too large"
        // for 2^40 bytes, on Wine too), so there the file is marked sparse and then lengthened.
        juce::File sparse (std::uint64_t length)
        {
            auto file = folder.getChildFile ("sparse.upd");
            file.deleteFile();

           #if defined (_WIN32)
            const HANDLE h = CreateFileW (file.getFullPathName().toWideCharPointer(), GENERIC_READ | GENERIC_WRITE, 0,
                                          nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            EXPECT_NE (h, INVALID_HANDLE_VALUE) << "error " << GetLastError();

            if (h != INVALID_HANDLE_VALUE)
            {
                DWORD returned = 0;
                EXPECT_TRUE (DeviceIoControl (h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr))
                    << "error " << GetLastError();
                LARGE_INTEGER end {};
                end.QuadPart = (LONGLONG) length;
                EXPECT_TRUE (SetFilePointerEx (h, end, nullptr, FILE_BEGIN) && SetEndOfFile (h))
                    << length << " bytes: error " << GetLastError();
                CloseHandle (h);
            }
           #else
            file.create();
            std::error_code error;
            std::filesystem::resize_file (file.getFullPathName().toStdString(), length, error);
            EXPECT_FALSE (error) << length << " bytes: " << error.message();
           #endif

            EXPECT_EQ ((std::uint64_t) file.getSize(), length);
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
