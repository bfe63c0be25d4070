#include <gtest/gtest.h>

#include "CraftedPackage.h"
#include "support/MainComponentProbe.h"
#include "support/MessageLoop.h"

// The program reads its package from the folder of its own executable. These
// tests put one beside the test executable, so they live in an executable of
// their own and run as one test: nothing else may touch that file meanwhile.
namespace
{
    const juce::File besideMe = juce::File::getSpecialLocation (juce::File::currentExecutableFile)
                                    .getSiblingFile ("KMX-Q7_UP.upd");

    struct Scenario
    {
        const char* name;
        std::function<void()> arrange;
        bool valid;
    };

    void writeBesideMe (const CraftedPackage& package)
    {
        const auto bytes = package.bytes();
        ASSERT_TRUE (besideMe.replaceWithData (bytes.data(), bytes.size()));
    }

    void removeBesideMe()
    {
        if (besideMe.isDirectory())
            besideMe.deleteRecursively();
        else
            besideMe.deleteFile();
    }

    ScreenState otherThan (ScreenState s) { return s == Ready ? NotRecognized : Ready; }
}

TEST (PackageBesideExecutable, FreezesAfterTheLanguageScreenOnlyWithABadPackage)
{
    auto good = CraftedPackage::valid();
    good.versionDigits = "110";

    auto badChecksum = good;
    badChecksum.records[4].storedChecksum = 0x1234;

    auto versionZero = good;
    versionZero.versionDigits = "000";

    auto truncated = good.bytes();
    truncated.resize (truncated.size() / 2);

    juce::TemporaryFile otherFolderName;
    const auto otherFolder = otherFolderName.getFile();
    ASSERT_TRUE (otherFolder.createDirectory());
    const auto previousDirectory = juce::File::getCurrentWorkingDirectory();

    const Scenario scenarios[] = {
        { "missing", [] {}, false },
        { "only in the working directory", [&] {
              const auto bytes = good.bytes();
              otherFolder.getChildFile ("KMX-Q7_UP.upd").replaceWithData (bytes.data(), bytes.size());
              otherFolder.setAsCurrentWorkingDirectory();
          }, false },
        { "wrong checksum", [&] { writeBesideMe (badChecksum); }, false },
        { "version 000", [&] { writeBesideMe (versionZero); }, false },
        { "truncated", [&] { besideMe.replaceWithData (truncated.data(), truncated.size()); }, false },
        { "directory", [] { besideMe.createDirectory(); }, false },
        { "good", [&] { writeBesideMe (good); }, true },
    };

    for (const auto& scenario : scenarios)
    {
        SCOPED_TRACE (scenario.name);
        removeBesideMe();
        scenario.arrange();

        {
            MainComponent mc;
            MainComponentProbe probe (mc);

            EXPECT_EQ (probe.packageValid(), scenario.valid ? 1 : 0);
            EXPECT_EQ (probe.packageVersion(), scenario.valid ? 110 : -1);
            EXPECT_EQ (probe.packageSize(), scenario.valid ? (int) good.dataTotal() : 0);

            if (scenario.valid)
            {
                for (int i = 0; i < 8; ++i)
                {
                    const auto& r = good.records[i];
                    EXPECT_EQ (probe.segmentLength()[i], r.data.size()) << i;
                    EXPECT_EQ (probe.segmentChecksum()[i], packageChecksum (r.data.data(), (int) r.data.size())) << i;
                    EXPECT_EQ (probe.segmentEnabled()[i], r.flag == 'Y' ? 1 : 0) << i;
                }
            }

            // The language screen works whatever the package.
            ASSERT_EQ (mc.getState(), SelectLanguage);
            probe.clickOk();
            const auto afterLanguage = mc.getState();
            ASSERT_NE (afterLanguage, SelectLanguage);

            // Later requests, direct or posted, change nothing with a bad package.
            const auto other = otherThan (afterLanguage);
            mc.setState (other);
            EXPECT_EQ (mc.getState(), scenario.valid ? other : afterLanguage);

            mc.requestState (afterLanguage);
            testsupport::pumpMessages (50);
            EXPECT_EQ (mc.getState(), afterLanguage);

            mc.requestState (other);
            testsupport::pumpMessages (50);
            EXPECT_EQ (mc.getState(), scenario.valid ? other : afterLanguage);
        }

        previousDirectory.setAsCurrentWorkingDirectory();
    }

    removeBesideMe();
    otherFolder.deleteRecursively();
}
