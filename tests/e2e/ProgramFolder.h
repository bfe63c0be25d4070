#pragma once

#include <juce_core/juce_core.h>

namespace e2e
{
    // A fresh folder holding the program as it would be installed: the
    // executable, the emulated hidgate beside it, optionally the sample update
    // package, and the emulator's scenario file. The program and the emulator
    // find their files beside the executable, so every run gets its own.
    class ProgramFolder
    {
    public:
        // An empty scenario leaves the emulator at its defaults (one KMX-Q7 in
        // update mode, firmware 1.05). The folder is emptied first.
        ProgramFolder (const juce::String& runName, bool withPackage, const juce::String& scenario);

        bool isReady() const noexcept       { return ready; }
        juce::File folder() const           { return dir; }
        juce::File executable() const       { return dir.getChildFile (programBuild().getFileName()); }
        juce::File file (const juce::String& name) const { return dir.getChildFile (name); }

        // The program and the emulated hidgate beside it: those of this build,
        // or the ones KMX_TEST_PROGRAM and KMX_TEST_HIDGATE name (the Windows
        // build's KMXUpdateProgram.exe and hidgate.dll, run through Wine).
        static juce::File programBuild();
        static juce::File hidgateBuild();

        static juce::File samplePackage()   { return juce::File (KMX_SAMPLE_PACKAGE); }
        // Where the runs' folders go: this build's, or KMX_E2E_RUNS.
        static juce::File runsFolder();

    private:
        juce::File dir;
        bool ready = false;
    };

    // The data of the segments marked to be written, read from a package
    // file: index 0 to 7; a segment not to be written stays empty.
    struct PackageSegments
    {
        bool valid = false;
        juce::MemoryBlock data[8];
        bool enabled[8] {};
    };

    PackageSegments readSegments (const juce::File& package);
}
