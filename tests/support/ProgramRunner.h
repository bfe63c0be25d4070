#pragma once

#include <juce_core/juce_core.h>
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
        bool waitForExit (int timeoutMs, int& exitCode);
        bool isRunning() const;

        // Finds a viewable top-level window whose name is the given title.
        ::Window waitForWindow (const juce::String& title, int timeoutMs);

        ::Display* display() const { return dpy; }
        static juce::File programFile();

    private:
        std::unique_ptr<juce::ChildProcess> process;
        ::Display* dpy = nullptr;
    };

    // Looks for a top-level window with that name below the root; 0 if none.
    ::Window findWindowByName (::Display* dpy, const juce::String& title);

    // Clicks through the XTEST extension (xdotool), relative to a window.
    bool clickInWindow (::Window w, int x, int y);
}
