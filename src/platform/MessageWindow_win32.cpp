#include "platform/MessageWindow.h"

// On Windows the hidden window is a real one: its procedure runs on the thread that created it,
// the message thread, whose queue JUCE's message loop pumps.
namespace platform
{
    ModuleHandle currentModule()
    {
        return GetModuleHandleA (nullptr);
    }

    bool registerWindowClass (const char* className, WindowProcedure procedure, ModuleHandle instance)
    {
        WNDCLASSA windowClass {};
        windowClass.style = 0;
        windowClass.lpfnWndProc = reinterpret_cast<WNDPROC> (procedure);
        windowClass.cbClsExtra = 0;
        windowClass.cbWndExtra = 0;
        windowClass.hInstance = instance;
        windowClass.hIcon = nullptr;
        windowClass.hCursor = LoadCursor (nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH> (GetStockObject (BLACK_BRUSH));
        windowClass.lpszMenuName = nullptr;
        windowClass.lpszClassName = className;
        return RegisterClassA (&windowClass) != 0;
    }

    void unregisterWindowClass (const char* className, ModuleHandle instance)
    {
        UnregisterClassA (className, instance);
    }

    WindowHandle createHiddenWindow (const char* className, const char* title, ModuleHandle instance)
    {
        HWND window = CreateWindowExA (0, className, title, WS_OVERLAPPEDWINDOW | WS_DISABLED,
                                       0, 0, 10, 10, nullptr, nullptr, instance, nullptr);

        if (window != nullptr)
            ShowWindow (window, SW_HIDE);

        return window;
    }

    void destroyWindow (WindowHandle window)
    {
        if (window != nullptr)
            DestroyWindow (window);
    }

    intptr_t defaultWindowProcedure (WindowHandle window, unsigned int message, uintptr_t wParam, intptr_t lParam)
    {
        return DefWindowProcA (window, message, wParam, lParam);
    }

    bool postWindowMessage (WindowHandle window, unsigned int message, uintptr_t wParam, intptr_t lParam)
    {
        // PostMessage takes a null window for the calling thread's own queue, where nobody would
        // read a message meant for a window; a message without a window is refused instead.
        return window != nullptr && PostMessageA (window, message, wParam, lParam) != 0;
    }
}
