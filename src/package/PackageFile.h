#pragma once

#include <juce_core/juce_core.h>

// Finding the update package and bringing its bytes into memory.
namespace PackageFile
{
    // The file `fileName` in the folder of the running executable; the
    // working directory plays no part.
    juce::File besideExecutable (const juce::String& fileName);

    enum class ReadResult
    {
        ok,
        missing,           // no such file, or a directory in its place
        unreadable,        // exists, but no stream can be opened on it
        tooLarge,          // longer than any valid package: not read at all
        changedWhileRead   // its length changed while it was being read
    };

    // Reads the whole file into `bytes`. The length is checked before any
    // memory is taken, so a huge file costs nothing. A file that grows or
    // shrinks while it is read gives changedWhileRead: what was read belongs
    // to no single state of the file. On anything but ok `bytes` is empty.
    ReadResult read (const juce::File& file, juce::MemoryBlock& bytes);
}
