#include "ProgramFolder.h"
#include "package/PackageLayout.h"
#include "support/ProgramRunner.h"

#include <unistd.h>

namespace e2e
{
    // A hard link costs nothing and keeps the execute bit; a copy is the
    // fallback across file systems.
    static bool placeFile (const juce::File& source, const juce::File& target)
    {
        if (! source.existsAsFile())
            return false;

        if (::link (source.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) == 0)
            return true;

        return source.copyFileTo (target) && target.setExecutePermission (true);
    }

    juce::File ProgramFolder::programBuild()  { return testsupport::ProgramRunner::programFile(); }
    juce::File ProgramFolder::hidgateBuild()  { return testsupport::fileFromEnvironment ("KMX_TEST_HIDGATE", KMX_EMULATOR_PATH); }
    juce::File ProgramFolder::runsFolder()    { return testsupport::fileFromEnvironment ("KMX_E2E_RUNS", KMX_E2E_RUNS_DIR); }

    ProgramFolder::ProgramFolder (const juce::String& runName, bool withPackage, const juce::String& scenario)
        : dir (runsFolder().getChildFile (runName))
    {
        dir.deleteRecursively();

        ready = dir.createDirectory()
             && placeFile (programBuild(), executable())
             && placeFile (hidgateBuild(), file (hidgateBuild().getFileName()))
             && (! withPackage || placeFile (samplePackage(), file ("KMX-Q7_UP.upd")))
             && (scenario.isEmpty() || file ("hidgate-scenario.txt").replaceWithText (scenario));
    }

    PackageSegments readSegments (const juce::File& package)
    {
        using namespace PackageLayout;
        PackageSegments result;
        juce::MemoryBlock bytes;

        if (! package.loadFileAsData (bytes) || bytes.getSize() < headerSize)
            return result;

        const auto* p = static_cast<const juce::uint8*> (bytes.getData());
        std::uint64_t offset = firstRecordOffset;

        for (int i = 0; i < recordCount; ++i)
        {
            if (offset + dataOffset > bytes.getSize())
                return result;

            const auto* record = p + offset;
            const auto length = (std::uint64_t) record[lengthOffset]
                              | ((std::uint64_t) record[lengthOffset + 1] << 8)
                              | ((std::uint64_t) record[lengthOffset + 2] << 16)
                              | ((std::uint64_t) record[lengthOffset + 3] << 24);

            if (offset + recordOverhead + length > bytes.getSize())
                return result;

            result.enabled[i] = record[flagOffset] == 'Y';

            if (result.enabled[i])
                result.data[i].append (record + dataOffset, (size_t) length);

            offset += recordOverhead + length;
        }

        result.valid = true;
        return result;
    }
}
