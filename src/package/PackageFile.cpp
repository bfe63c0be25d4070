#include "package/PackageFile.h"

#include "package/PackageLayout.h"

namespace PackageFile
{
juce::File besideExecutable (const juce::String& fileName)
{
    return juce::File::getSpecialLocation (juce::File::currentExecutableFile).getSiblingFile (fileName);
}

ReadResult read (const juce::File& file, juce::MemoryBlock& bytes)
{
    bytes.reset();

    if (! file.existsAsFile())
        return ReadResult::missing;

    juce::FileInputStream stream (file);

    if (stream.failedToOpen())
        return ReadResult::unreadable;

    const auto length = stream.getTotalLength();

    if (length < 0)
        return ReadResult::unreadable;

    if ((juce::uint64) length > PackageLayout::maxFileSize)
        return ReadResult::tooLarge;

    bytes.setSize ((size_t) length, false);

    // A single read may return less than asked for; keep going until the
    // announced length is in or the file has nothing more to give.
    auto* out = static_cast<char*> (bytes.getData());
    juce::int64 got = 0;

    while (got < length)
    {
        const auto n = stream.read (out + got, (int) (length - got));

        if (n <= 0)
            break;

        got += n;
    }

    // Shorter than announced, or longer now: it changed under us.
    if (got != length || file.getSize() != length)
    {
        bytes.reset();
        return ReadResult::changedWhileRead;
    }

    return ReadResult::ok;
}
}
