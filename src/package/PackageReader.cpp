#include "app/MainComponent.h"

#include "package/PackageCheck.h"
#include "package/PackageFile.h"

// Reads and checks the update package beside the executable. Returns the
// payload size when every record passes, otherwise 0; the caller decides
// validity together with the version.
int MainComponent::readPackage (const juce::String& fileName, const char* identifier, int* versionOut)
{
    if (versionOut != nullptr)
        *versionOut = -1;

    juce::MemoryBlock bytes;

    if (PackageFile::read (PackageFile::besideExecutable (fileName), bytes) != PackageFile::ReadResult::ok)
        return 0;

    const auto result = PackageCheck::check (static_cast<const std::uint8_t*> (bytes.getData()),
                                             bytes.getSize(), identifier);

    if (versionOut != nullptr)
        *versionOut = result.version;

    for (int i = 0; i < result.recordsExamined; ++i)
    {
        segmentEnabled[i] = result.records[i].enabled ? 1 : 0;
        segmentLength[i] = result.records[i].length;
        segmentChecksum[i] = result.records[i].checksum;
    }

    return result.payloadSize;
}
