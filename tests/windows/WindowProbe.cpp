// Checks the running program's window from the Windows side, where Wine
// keeps the window state that no window manager shows here:
//
//   window_probe.exe <program.exe> <window title>
//
// The window of that title must be always on top. Then the probe opens a
// window of its own and takes the foreground, as whatever the user was
// working in would hold it; starts the program (the second instance), waits
// for that to end, and watches which window holds the foreground. Prints what
// it saw; exits 0 when the window is always on top, the second start ended
// with exit code 0 and the window came to the front, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>

namespace
{
    void pumpFor (DWORD ms)
    {
        const auto end = GetTickCount() + ms;

        do
        {
            MSG msg;

            while (PeekMessageW (&msg, nullptr, 0, 0, PM_REMOVE))
            {
                TranslateMessage (&msg);
                DispatchMessageW (&msg);
            }

            Sleep (20);
        }
        while ((LONG) (end - GetTickCount()) > 0);
    }

    std::wstring titleOf (HWND w)
    {
        wchar_t text[256] = {};
        GetWindowTextW (w, text, 256);
        return text;
    }

    std::string narrow (const std::wstring& s)
    {
        char out[512] = {};
        WideCharToMultiByte (CP_UTF8, 0, s.c_str(), -1, out, sizeof (out) - 1, nullptr, nullptr);
        return out;
    }

    std::wstring widen (const char* s)
    {
        wchar_t out[1024] = {};
        MultiByteToWideChar (CP_UTF8, 0, s, -1, out, 1023);
        return out;
    }
}

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf (stderr, "usage: window_probe <program.exe> <window title>\n");
        return 2;
    }

    const auto program = widen (argv[1]);
    const auto title = widen (argv[2]);

    HWND first = FindWindowW (nullptr, title.c_str());

    if (first == nullptr)
    {
        std::printf ("no window titled \"%s\"\n", argv[2]);
        return 1;
    }

    RECT client = {};
    GetClientRect (first, &client);
    const bool onTop = (GetWindowLongPtrW (first, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf ("window: %ld x %ld, %s\n", client.right - client.left, client.bottom - client.top,
                 onTop ? "always on top" : "not always on top");

    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW (nullptr);
    wc.lpszClassName = L"KmxWindowProbe";
    RegisterClassW (&wc);

    HWND own = CreateWindowExW (0, wc.lpszClassName, L"window probe", WS_OVERLAPPEDWINDOW,
                                10, 10, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow (own, SW_SHOW);
    SetForegroundWindow (own);
    pumpFor (500);

    if (GetForegroundWindow() != own)
    {
        std::printf ("the probe could not take the foreground (held by \"%s\")\n",
                     narrow (titleOf (GetForegroundWindow())).c_str());
        return 1;
    }

    std::printf ("foreground: probe\n");

    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW si = { sizeof (si) };
    PROCESS_INFORMATION pi = {};

    if (! CreateProcessW (program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    {
        std::printf ("could not start the program (error %lu)\n", GetLastError());
        return 1;
    }

    // Keep answering messages while the second instance runs.
    DWORD exitCode = STILL_ACTIVE;

    for (int i = 0; i < 1500 && exitCode == STILL_ACTIVE; ++i)
    {
        pumpFor (20);
        GetExitCodeProcess (pi.hProcess, &exitCode);
    }

    CloseHandle (pi.hThread);
    CloseHandle (pi.hProcess);
    std::printf ("second start: exit code %lu\n", exitCode);

    bool raised = false;

    for (int i = 0; i < 50 && ! raised; ++i)
    {
        pumpFor (100);
        raised = titleOf (GetForegroundWindow()) == title;
    }

    std::printf ("foreground: \"%s\"\n", narrow (titleOf (GetForegroundWindow())).c_str());
    DestroyWindow (own);
    return (onTop && exitCode == 0 && raised) ? 0 : 1;
}
