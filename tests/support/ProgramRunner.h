#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>
#include <X11/Xlib.h>

#include <memory>

namespace testsupport
{
    // The real program, started as its own process from the build's bin
    // folder, and its top-level window seen through the X server.
    class ProgramRunner
    {
    public:
        ProgramRunner();
        ~ProgramRunner();

        bool start();
        // Starts the given executable instead, e.g. a copy in a folder of its
        // own with its hidgate, package and emulator scenario beside it. An
        // .exe (the Windows build) is started through wine.
        bool start (const juce::File& executable);
        // The same, with the program's standard output and error written to
        // outputLog (the program itself prints nothing; a sanitizer or the
        // toolkit's debug checks may).
        bool start (const juce::File& executable, const juce::File& outputLog);
        bool waitForExit (int timeoutMs, int& exitCode);
        bool isRunning() const;

        // Finds a viewable top-level window whose name is the given title.
        ::Window waitForWindow (const juce::String& title, int timeoutMs);

        ::Display* display() const { return dpy; }

        // This build's program, or the one KMX_TEST_PROGRAM names (the Windows
        // build's KMXUpdateProgram.exe with its hidgate.dll beside it).
        static juce::File programFile();

    private:
        std::unique_ptr<juce::ChildProcess> process;
        ::Display* dpy = nullptr;
    };

    // The file a variable of the environment names, or builtIn where it is
    // unset or empty (for running these tests against another build).
    juce::File fileFromEnvironment (const char* variable, const char* builtIn);

    // Looks for a top-level window with that name below the root; 0 if none.
    ::Window findWindowByName (::Display* dpy, const juce::String& title);

    // Clicks through the XTEST extension (xdotool), relative to a window.
    bool clickInWindow (::Window w, int x, int y);

    // Moves the pointer to the root window's top-left corner, off any window
    // centred on the screen, so that no button stays under it (hovered).
    bool movePointerAway();

    // The window's current pixels as the X server holds them (opaque ARGB);
    // a null image if the window cannot be read.
    juce::Image captureWindow (::Display* dpy, ::Window w);

    // The window's inner size; false if it cannot be read.
    bool windowSize (::Display* dpy, ::Window w, int& width, int& height);
}
