// kmx-package: builds and checks update packages for whoever prepares a
// release. "verify" runs exactly the check the program runs at start-up.
#include "PackageBuilder.h"

#include "package/PackageCheck.h"
#include "package/PackageFile.h"

#include <cstdio>

namespace
{
    constexpr int exitValid = 0;
    constexpr int exitInvalid = 1;
    constexpr int exitUsage = 2;

    const char* const identifier = "KMX-Q7 ";

    int usage (const juce::String& problem = {})
    {
        const char* const text = "usage: kmx-package verify FILE | kmx-package build OUT VERSION SEG1 ... SEG8 (each SEG Y:PATH or N:PATH)";

        if (problem.isNotEmpty())
            std::fprintf (stderr, "kmx-package: %s; %s\n", problem.toRawUTF8(), text);
        else
            std::fprintf (stderr, "%s\n", text);

        return exitUsage;
    }

    int fail (const juce::String& problem)
    {
        std::fprintf (stderr, "kmx-package: %s\n", problem.toRawUTF8());
        return exitUsage;
    }

    juce::File fileArgument (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }

    juce::String describe (const PackageCheck::Result& result, juce::uint64 size)
    {
        using PackageCheck::RecordFault;

        if (result.recordsExamined == 0)
            return "the file is longer than any valid package";

        const int last = result.recordsExamined - 1;
        const auto& record = result.records[last];
        const auto name = "segment " + juce::String (last);

        switch (record.fault)
        {
            case RecordFault::truncated:       return name + " runs past the end of the file";
            case RecordFault::wrongIdentifier: return name + " does not start with \"" + identifier + "\"";
            case RecordFault::lengthTooLarge:  return name + " has a length of 2^24 or more";
            case RecordFault::wrongChecksum:   return name + " does not match its stored checksum";
            case RecordFault::none:            break;
        }

        if (result.version <= 0)
            return "version " + juce::String (result.version) + " is not positive";

        if (size == PackageLayout::fixedOverhead)
            return "the package carries no segment data";

        return "invalid";
    }

    int verify (const juce::String& path)
    {
        const auto file = fileArgument (path);
        juce::MemoryBlock bytes;

        switch (PackageFile::read (file, bytes))
        {
            case PackageFile::ReadResult::ok:               break;
            case PackageFile::ReadResult::missing:          return fail (path + ": no such file");
            case PackageFile::ReadResult::unreadable:       return fail (path + ": cannot be read");
            case PackageFile::ReadResult::changedWhileRead: return fail (path + ": changed while being read");
            case PackageFile::ReadResult::tooLarge:
                std::printf ("invalid\n");
                std::fprintf (stderr, "kmx-package: %s\n", describe ({}, 0).toRawUTF8());
                return exitInvalid;
        }

        const auto result = PackageCheck::check (static_cast<const std::uint8_t*> (bytes.getData()),
                                                 bytes.getSize(), identifier);

        for (int i = 0; i < result.recordsExamined; ++i)
        {
            const auto& record = result.records[i];
            std::printf ("segment %d flag %c length %u checksum 0x%04X %s\n",
                         i, record.enabled ? 'Y' : 'N', (unsigned) record.length, (unsigned) record.checksum,
                         record.fault == PackageCheck::RecordFault::none ? "ok" : "bad");
        }

        if (result.isValid())
        {
            std::printf ("valid version %d size %d\n", result.version, result.payloadSize);
            return exitValid;
        }

        std::printf ("invalid\n");
        std::fprintf (stderr, "kmx-package: %s\n", describe (result, bytes.getSize()).toRawUTF8());
        return exitInvalid;
    }

    int build (const juce::StringArray& args)
    {
        if (args.size() != 10)
            return usage ("build takes OUT, VERSION and eight segments");

        const auto& versionText = args[1];

        if (versionText.isEmpty() || versionText.length() > 3 || ! versionText.containsOnly ("0123456789"))
            return fail ("version \"" + versionText + "\" is not a number from 1 to 999");

        PackageBuilder::Segment segments[8];

        for (int i = 0; i < 8; ++i)
        {
            const auto& segmentArg = args[2 + i];

            if (segmentArg.length() < 3 || segmentArg[1] != ':' || (segmentArg[0] != 'Y' && segmentArg[0] != 'N'))
                return usage ("segment \"" + segmentArg + "\" is not Y:PATH or N:PATH");

            segments[i].enabled = segmentArg[0] == 'Y';
            segments[i].source = fileArgument (segmentArg.substring (2));
        }

        juce::MemoryBlock package;
        auto error = PackageBuilder::build (versionText.getIntValue(), segments, package);

        if (error.isEmpty())
            error = PackageBuilder::write (package, fileArgument (args[0]));

        return error.isEmpty() ? exitValid : fail (error);
    }
}

int main (int argc, char** argv)
{
    juce::StringArray args;

    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    if (args.size() == 2 && args[0] == "verify")
        return verify (args[1]);

    if (args.size() >= 1 && args[0] == "build")
        return build (juce::StringArray (args.begin() + 1, args.size() - 1));

    return usage (args.isEmpty() ? juce::String() : "unknown command \"" + args[0] + "\"");
}
