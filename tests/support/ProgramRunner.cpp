#include "support/ProgramRunner.h"

#include <X11/Xutil.h>

#include <cstdlib>

namespace testsupport
{
    juce::File fileFromEnvironment (const char* variable, const char* builtIn)
    {
        const auto* value = std::getenv (variable);
        return juce::File (value != nullptr && *value != 0 ? value : builtIn);
    }

    juce::File ProgramRunner::programFile()
    {
        return fileFromEnvironment ("KMX_TEST_PROGRAM", KMX_PROGRAM_PATH);
    }

    // Windows come and go while the tree is searched (Wine makes and drops
    // short-lived ones all the time); a request about a window that has just
    // gone fails, and that failure must not end the test process, which is
    // what Xlib's default handler does.
    static int ignoreXError (::Display*, XErrorEvent*)
    {
        return 0;
    }

    ProgramRunner::ProgramRunner() : dpy (XOpenDisplay (nullptr))
    {
        XSetErrorHandler (ignoreXError);

        // In a sanitizer build the program reports, at its exit, blocks left
        // by libraries the toolkit loads and unloads at run time (the reports
        // name no module), and LeakSanitizer then sets exit code 1. The
        // program's leaks are the component tests' business; here its exit
        // code must be its own. Memory errors are still reported. The test
        // process has read its own options already; the program inherits these.
        const juce::String asan (std::getenv ("ASAN_OPTIONS") != nullptr ? std::getenv ("ASAN_OPTIONS") : "");

        if (! asan.contains ("detect_leaks=0"))
            ::setenv ("ASAN_OPTIONS", (asan.isEmpty() ? juce::String ("detect_leaks=0")
                                                      : asan + ":detect_leaks=0").toRawUTF8(), 1);

        // A window manager would have created these atoms; the toolkit only
        // sets window-manager hints whose atoms exist already.
        if (dpy != nullptr)
            for (auto* atom : { "_NET_WM_STATE", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR",
                                "_NET_ACTIVE_WINDOW", "_NET_WM_NAME", "_NET_WM_WINDOW_TYPE",
                                "_NET_WM_WINDOW_TYPE_NORMAL" })
                XInternAtom (dpy, atom, False);
    }

    ProgramRunner::~ProgramRunner()
    {
        if (process != nullptr && process->isRunning())
        {
            process->kill();
            process->waitForProcessToFinish (5000);
        }

        if (dpy != nullptr)
            XCloseDisplay (dpy);
    }

    bool ProgramRunner::start()
    {
        return start (programFile());
    }

    // A Windows build of the program runs through Wine, in the Wine prefix
    // the environment names; the wine process is then the program itself.
    static juce::StringArray commandFor (const juce::File& executable)
    {
        if (executable.hasFileExtension ("exe"))
            return { "wine", executable.getFullPathName() };

        return { executable.getFullPathName() };
    }

    bool ProgramRunner::start (const juce::File& executable)
    {
        process = std::make_unique<juce::ChildProcess>();
        return process->start (commandFor (executable), 0);
    }

    bool ProgramRunner::start (const juce::File& executable, const juce::File& outputLog)
    {
        // The shell replaces itself with the program, so the child is the program.
        juce::StringArray args { "/bin/sh", "-c", "exec \"$@\" >\"$0\" 2>&1",
                                 outputLog.getFullPathName() };
        args.addArray (commandFor (executable));
        process = std::make_unique<juce::ChildProcess>();
        return process->start (args, 0);
    }

    bool ProgramRunner::isRunning() const
    {
        return process != nullptr && process->isRunning();
    }

    bool ProgramRunner::waitForExit (int timeoutMs, int& exitCode)
    {
        if (process == nullptr || ! process->waitForProcessToFinish (timeoutMs))
            return false;

        exitCode = (int) process->getExitCode();
        return true;
    }

    // The window's title from WM_NAME or _NET_WM_NAME, read as UTF-8 bytes
    // (JUCE stores WM_NAME as UTF8_STRING, which XFetchName does not read).
    static juce::String titleOf (::Display* dpy, ::Window w)
    {
        for (auto* propertyName : { "_NET_WM_NAME", "WM_NAME" })
        {
            XTextProperty text;

            if (XGetTextProperty (dpy, w, &text, XInternAtom (dpy, propertyName, False)) != 0)
            {
                juce::String title;

                if (text.value != nullptr)
                {
                    title = juce::String::fromUTF8 ((const char*) text.value, (int) text.nitems);
                    XFree (text.value);
                }

                if (title.isNotEmpty())
                    return title;
            }
        }

        return {};
    }

    static ::Window search (::Display* dpy, ::Window w, const juce::String& title, int depth)
    {
        if (titleOf (dpy, w) == title)
        {
            XWindowAttributes attributes;

            if (XGetWindowAttributes (dpy, w, &attributes) != 0 && attributes.map_state == IsViewable)
                return w;
        }

        if (depth > 2)
            return 0;

        ::Window root, parent, *children = nullptr;
        unsigned int count = 0;
        ::Window found = 0;

        if (XQueryTree (dpy, w, &root, &parent, &children, &count) != 0)
        {
            for (unsigned int i = 0; i < count && found == 0; ++i)
                found = search (dpy, children[i], title, depth + 1);

            if (children != nullptr)
                XFree (children);
        }

        return found;
    }

    ::Window findWindowByName (::Display* dpy, const juce::String& title)
    {
        return search (dpy, DefaultRootWindow (dpy), title, 0);
    }

    ::Window ProgramRunner::waitForWindow (const juce::String& title, int timeoutMs)
    {
        if (dpy == nullptr)
            return 0;

        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

        do
        {
            if (auto w = findWindowByName (dpy, title))
                return w;

            juce::Thread::sleep (50);
        }
        while (juce::Time::getMillisecondCounter() < end);

        return 0;
    }

    bool clickInWindow (::Window w, int x, int y)
    {
        juce::ChildProcess xdotool;
        juce::StringArray args { "xdotool", "mousemove", "--window", juce::String ((juce::int64) w),
                                 juce::String (x), juce::String (y), "click", "1" };
        return xdotool.start (args, 0) && xdotool.waitForProcessToFinish (5000) && xdotool.getExitCode() == 0;
    }

    bool movePointerAway()
    {
        juce::ChildProcess xdotool;
        juce::StringArray args { "xdotool", "mousemove", "0", "0" };
        return xdotool.start (args, 0) && xdotool.waitForProcessToFinish (5000) && xdotool.getExitCode() == 0;
    }

    bool windowSize (::Display* dpy, ::Window w, int& width, int& height)
    {
        XWindowAttributes attributes;

        if (dpy == nullptr || w == 0 || XGetWindowAttributes (dpy, w, &attributes) == 0)
            return false;

        width = attributes.width;
        height = attributes.height;
        return true;
    }

    juce::Image captureWindow (::Display* dpy, ::Window w)
    {
        int width = 0, height = 0;

        if (! windowSize (dpy, w, width, height) || width <= 0 || height <= 0)
            return {};

        XImage* xi = XGetImage (dpy, w, 0, 0, (unsigned int) width, (unsigned int) height, AllPlanes, ZPixmap);

        if (xi == nullptr)
            return {};

        juce::Image image (juce::Image::ARGB, width, height, false);
        const int redShift   = xi->red_mask   != 0 ? __builtin_ctzl (xi->red_mask)   : 16;
        const int greenShift = xi->green_mask != 0 ? __builtin_ctzl (xi->green_mask) : 8;
        const int blueShift  = xi->blue_mask  != 0 ? __builtin_ctzl (xi->blue_mask)  : 0;

        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const auto p = XGetPixel (xi, x, y);
                image.setPixelAt (x, y, juce::Colour ((juce::uint8) ((p & xi->red_mask)   >> redShift),
                                                      (juce::uint8) ((p & xi->green_mask) >> greenShift),
                                                      (juce::uint8) ((p & xi->blue_mask)  >> blueShift)));
            }

        XDestroyImage (xi);
        return image;
    }
}
