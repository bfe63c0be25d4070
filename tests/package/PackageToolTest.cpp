#include <gtest/gtest.h>

#include "CraftedPackage.h"

#include <juce_core/juce_core.h>
#include <filesystem>

// Runs the kmx-package executable the way a release would.
namespace
{
    struct Run
    {
        int exitCode = -1;
        juce::StringArray out;   // standard output, line by line
    };

    Run runTool (juce::StringArray args)
    {
        args.insert (0, KMX_PACKAGE_TOOL);
        juce::ChildProcess process;
        Run run;

        if (! process.start (args, juce::ChildProcess::wantStdOut))
            return run;

        run.out.addLines (process.readAllProcessOutput());
        run.out.removeEmptyStrings();
        process.waitForProcessToFinish (30000);
        run.exitCode = (int) process.getExitCode();
        return run;
    }

    struct PackageToolTest : public ::testing::Test
    {
        juce::TemporaryFile folderName;
        juce::File folder;

        void SetUp() override
        {
            folder = folderName.getFile();
            ASSERT_TRUE (folder.createDirectory());
        }

        void TearDown() override { folder.deleteRecursively(); }

        juce::String file (const juce::String& name, const std::vector<std::uint8_t>& bytes)
        {
            // replaceWithData deletes the file when given no bytes.
            auto f = folder.getChildFile (name);
            f.deleteFile();
            f.create();

            if (! bytes.empty())
                f.replaceWithData (bytes.data(), bytes.size());
            return f.getFullPathName();
        }

        juce::String path (const juce::String& name) { return folder.getChildFile (name).getFullPathName(); }

        // Eight segment arguments: 'Y' or 'N' and made-up data of the given lengths.
        juce::StringArray segments (const char* flags, std::initializer_list<size_t> lengths)
        {
            juce::StringArray args;
            int i = 0;

            for (auto length : lengths)
            {
                std::vector<std::uint8_t> data (length);
                for (size_t k = 0; k < length; ++k)
                    data[k] = (std::uint8_t) (k * 7 + (size_t) i);

                args.add (juce::String::charToString (flags[i]) + ":" + file ("seg" + juce::String (i), data));
                ++i;
            }

            return args;
        }

        int filesInFolder() { return folder.getNumberOfChildFiles (juce::File::findFiles); }
    };

    juce::String line (int index, char flag, size_t length, const std::vector<std::uint8_t>& data, const char* verdict)
    {
        return juce::String::formatted ("segment %d flag %c length %u checksum 0x%04X %s", index, flag, (unsigned) length,
                                        (unsigned) packageChecksum (data.data(), (int) data.size()), verdict);
    }
}

TEST_F (PackageToolTest, BuildThenVerifyRoundTrips)
{
    const char flags[] = "YYNYYYNY";
    const std::initializer_list<size_t> lengths { 100, 62, 63, 0, 1, 4096, 5, 12345 };
    auto args = segments (flags, lengths);
    args.insert (0, "build");
    args.insert (1, path ("out.upd"));
    args.insert (2, "110");

    ASSERT_EQ (runTool (args).exitCode, 0);

    const auto verified = runTool ({ "verify", path ("out.upd") });
    EXPECT_EQ (verified.exitCode, 0);
    ASSERT_EQ (verified.out.size(), 9);

    size_t total = 0;
    int i = 0;

    for (auto length : lengths)
    {
        juce::MemoryBlock data;
        folder.getChildFile ("seg" + juce::String (i)).loadFileAsData (data);
        const auto* p = static_cast<const std::uint8_t*> (data.getData());
        EXPECT_EQ (verified.out[i], line (i, flags[i], length, std::vector<std::uint8_t> (p, p + data.getSize()), "ok"));
        total += length;
        ++i;
    }

    EXPECT_EQ (verified.out[8], "valid version 110 size " + juce::String ((int) total));
    EXPECT_EQ (folder.getChildFile ("out.upd").getSize(), (juce::int64) (total + 340));

    // Relative paths are taken from the working directory.
    const auto previous = juce::File::getCurrentWorkingDirectory();
    folder.setAsCurrentWorkingDirectory();
    const auto relative = runTool ({ "build", "rel.upd", "1", "N:seg0", "Y:/dev/null", "Y:/dev/null", "Y:/dev/null",
                                     "Y:/dev/null", "Y:/dev/null", "Y:/dev/null", "Y:/dev/null" });
    previous.setAsCurrentWorkingDirectory();
    EXPECT_EQ (relative.exitCode, 0);
    EXPECT_EQ (runTool ({ "verify", path ("rel.upd") }).out.joinIntoString ("|").fromLastOccurrenceOf ("|", false, false),
               "valid version 1 size 100");
}

TEST_F (PackageToolTest, BuildRefusesAndLeavesNothingBehind)
{
    const auto good = segments ("YYYYYYYY", { 1, 2, 3, 4, 5, 6, 7, 8 });
    const auto filesBefore = filesInFolder();

    auto withSegment = [&] (int index, const juce::String& segmentArg)
    {
        auto s = good;
        s.set (index, segmentArg);
        return s;
    };

    const auto huge = path ("huge");
    juce::File (huge).create();
    std::filesystem::resize_file (huge.toStdString(), 1u << 24);

    const struct { const char* name; juce::String version; juce::StringArray segs; } refusals[] = {
        { "version 0", "0", good },
        { "version 1000", "1000", good },
        { "version not a number", "1.10", good },
        { "version negative", "-5", good },
        { "missing segment file", "110", withSegment (3, "Y:" + path ("nope")) },
        { "segment a directory", "110", withSegment (3, "Y:" + folder.getFullPathName()) },
        { "segment of 2^24 bytes", "110", withSegment (5, "N:" + huge) },
        { "bad flag", "110", withSegment (0, "y:" + path ("seg0")) },
        { "no path", "110", withSegment (0, "Y:") },
        { "seven segments", "110", juce::StringArray (good.begin(), 7) },
    };

    for (const auto& r : refusals)
    {
        SCOPED_TRACE (r.name);
        juce::StringArray args { "build", path ("out.upd"), r.version };
        args.addArray (r.segs);
        EXPECT_EQ (runTool (args).exitCode, 2);
        EXPECT_FALSE (folder.getChildFile ("out.upd").exists());
        EXPECT_EQ (filesInFolder(), filesBefore + 1);   // the huge file, nothing else
    }

    // Two segments just below the limit each add up to more than a payload can be.
    const auto half = path ("half");
    juce::File (half).create();
    std::filesystem::resize_file (half.toStdString(), 1u << 23);
    juce::StringArray args { "build", path ("out.upd"), "110" };
    args.addArray (withSegment (0, "Y:" + half));
    args.set (4, "Y:" + half);
    EXPECT_EQ (runTool (args).exitCode, 2);
    EXPECT_FALSE (folder.getChildFile ("out.upd").exists());

    // An existing package is left as it was.
    const auto before = file ("out.upd", { 1, 2, 3 });
    juce::StringArray again { "build", before, "0" };
    again.addArray (good);
    EXPECT_EQ (runTool (again).exitCode, 2);
    EXPECT_EQ (folder.getChildFile ("out.upd").getSize(), 3);
}

TEST_F (PackageToolTest, VerifyExitStatuses)
{
    auto bad = CraftedPackage::valid();
    bad.records[2].checksumHighByteFirst = true;
    const auto badPath = file ("bad.upd", bad.bytes());

    const auto badRun = runTool ({ "verify", badPath });
    EXPECT_EQ (badRun.exitCode, 1);
    ASSERT_EQ (badRun.out.size(), 4);
    EXPECT_TRUE (badRun.out[0].endsWith (" ok"));
    EXPECT_TRUE (badRun.out[1].endsWith (" ok"));
    EXPECT_EQ (badRun.out[2], line (2, 'N', bad.records[2].data.size(), bad.records[2].data, "bad"));
    EXPECT_EQ (badRun.out[3], "invalid");

    auto zero = CraftedPackage::valid();
    zero.versionDigits = "000";
    const auto zeroRun = runTool ({ "verify", file ("zero.upd", zero.bytes()) });
    EXPECT_EQ (zeroRun.exitCode, 1);
    EXPECT_EQ (zeroRun.out.size(), 9);
    EXPECT_EQ (zeroRun.out[8], "invalid");

    const auto tooLong = path ("long.upd");
    juce::File (tooLong).create();
    std::filesystem::resize_file (tooLong.toStdString(), (1u << 24) + 340);

    EXPECT_EQ (runTool ({ "verify", tooLong }).out, juce::StringArray ("invalid"));
    EXPECT_EQ (runTool ({ "verify", tooLong }).exitCode, 1);
    EXPECT_EQ (runTool ({ "verify", file ("empty.upd", {}) }).exitCode, 1);
    EXPECT_EQ (runTool ({ "verify", path ("missing.upd") }).exitCode, 2);
    EXPECT_EQ (runTool ({ "verify", folder.getFullPathName() }).exitCode, 2);
    EXPECT_EQ (runTool ({ "verify" }).exitCode, 2);
    EXPECT_EQ (runTool ({ "verify", badPath, badPath }).exitCode, 2);
    EXPECT_EQ (runTool ({}).exitCode, 2);
    EXPECT_EQ (runTool ({ "pack", badPath }).exitCode, 2);
}

TEST (PackageToolSample, TheSamplePackageIsValid)
{
    const auto run = runTool ({ "verify", KMX_SAMPLE_PACKAGE });
    EXPECT_EQ (run.exitCode, 0);
    ASSERT_EQ (run.out.size(), 9);
    EXPECT_TRUE (run.out[8].startsWith ("valid version 110 size "));
    EXPECT_EQ (run.out[3].upToLastOccurrenceOf (" checksum", false, false), "segment 3 flag N length 8193");
    EXPECT_EQ (run.out[4].upToLastOccurrenceOf (" checksum", false, false), "segment 4 flag Y length 0");
}
