#include "PackageBuilder.h"

#include "package/PackageChecksum.h"
#include "package/PackageLayout.h"

namespace
{
    using namespace PackageLayout;

    void appendPadded (juce::MemoryOutputStream& out, const char* text, size_t width)
    {
        const auto length = juce::jmin (std::strlen (text), width);
        out.write (text, length);
        out.writeRepeatedByte (' ', width - length);
    }

    juce::String readSegment (const juce::File& file, juce::MemoryBlock& data)
    {
        if (! file.existsAsFile())
            return "segment file " + file.getFullPathName() + " does not exist";

        if ((juce::uint64) file.getSize() >= sizeLimit)
            return "segment file " + file.getFullPathName() + " has 2^24 bytes or more";

        juce::FileInputStream stream (file);

        if (stream.failedToOpen())
            return "segment file " + file.getFullPathName() + " cannot be read";

        // One byte more than allowed is enough to see that it is too long,
        // even for a file whose size was not known in advance.
        data.reset();
        stream.readIntoMemoryBlock (data, (ssize_t) sizeLimit);

        if (data.getSize() >= sizeLimit)
            return "segment file " + file.getFullPathName() + " has 2^24 bytes or more";

        return {};
    }
}

juce::String PackageBuilder::build (int version, const Segment (&segments)[8], juce::MemoryBlock& package)
{
    package.reset();

    if (version < 1 || version > 999)
        return "version " + juce::String (version) + " is not between 1 and 999";

    juce::MemoryOutputStream out;
    juce::uint64 payload = 0;

    // Header: a readable tag, the version as three digits, blanks.
    appendPadded (out, "KMX-Q7 UPDATE", versionOffset);
    out.write (juce::String::formatted ("%03d", version).toRawUTF8(), versionDigits);
    appendPadded (out, "", headerSize - versionOffset - versionDigits);

    for (int i = 0; i < recordCount; ++i)
    {
        juce::MemoryBlock data;
        const auto error = readSegment (segments[i].source, data);

        if (error.isNotEmpty())
            return error;

        const auto length = (juce::uint32) data.getSize();
        const auto checksum = packageChecksum (static_cast<const std::uint8_t*> (data.getData()), (int) length);

        // The fields between the ones that are read carry readable labels:
        // the segment number and, as four hex digits, the checksum.
        out.write ("KMX-Q7 ", identifierSize);
        appendPadded (out, ("SEG" + juce::String (i + 1)).toRawUTF8(), flagOffset - identifierSize);
        out.writeByte (segments[i].enabled ? 'Y' : 'N');
        appendPadded (out, "", 20 - flagOffset - 1);
        out.write (juce::String::toHexString ((int) checksum).paddedLeft ('0', 4).toUpperCase().toRawUTF8(), 4);
        appendPadded (out, "", lengthOffset - 24);
        out.writeInt ((int) length);   // little-endian
        out.write (data.getData(), data.getSize());
        out.writeShort ((short) checksum);

        payload += length;

        if (payload >= sizeLimit)
            return "the segments add up to 2^24 bytes or more";
    }

    package = out.getMemoryBlock();
    return {};
}

juce::String PackageBuilder::write (const juce::MemoryBlock& package, const juce::File& target)
{
    if (target.isDirectory())
        return target.getFullPathName() + " is a directory";

    if (! target.getParentDirectory().isDirectory())
        return "folder " + target.getParentDirectory().getFullPathName() + " does not exist";

    juce::TemporaryFile temporary (target);

    {
        juce::FileOutputStream out (temporary.getFile());

        if (out.failedToOpen() || ! out.write (package.getData(), package.getSize()))
            return "cannot write " + temporary.getFile().getFullPathName();

        out.flush();

        if (out.getStatus().failed())
            return "cannot write " + temporary.getFile().getFullPathName();
    }

    if (! temporary.overwriteTargetFileWithTemporary())
        return "cannot replace " + target.getFullPathName();

    return {};
}
