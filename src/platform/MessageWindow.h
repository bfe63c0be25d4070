#pragma once

// The hidden message window through which the device-access library (hidgate)
// reaches the program. The library is told a window and three message numbers;
// from any of its threads it posts a message with the device number as wParam,
// and the window's procedure runs later on JUCE's message thread.
//
// The calls mirror the Windows API one for one, so the device connection reads
// the same on every system:
//
//   registerWindowClass    RegisterClass: style 0, the given procedure, no extra
//                          bytes, the instance, no icon, the arrow cursor, the
//                          stock black brush, no menu. False if it fails (for
//                          instance when the class is registered already).
//   unregisterWindowClass  UnregisterClass.
//   createHiddenWindow     CreateWindowEx: extended style 0, WS_OVERLAPPEDWINDOW |
//                          WS_DISABLED, at (0, 0), 10 by 10, no parent, no menu,
//                          the class and title given; then ShowWindow (SW_HIDE).
//                          Null when no window was created.
//   destroyWindow          DestroyWindow.
//   defaultWindowProcedure DefWindowProc.
//   postWindowMessage      PostMessage.
//   currentModule          GetModuleHandle (nullptr).
//
// On Windows a WindowHandle is an HWND and the window's thread is the message
// thread, which JUCE's own message loop pumps. Elsewhere it is a
// HidgateMessageSink (see hidgate.h) whose post function queues the message
// into JUCE's message queue, behind everything posted before it (state
// requests, async updates), so that messages are handled in the order they
// were posted from any one thread. A message still queued when its window is
// destroyed is dropped, never delivered to a stale procedure.
//
// All calls except postWindowMessage belong on the message thread. The library
// must stop posting to a window (HID_SetCallback (0, 0, 0, 0)) before the
// window is destroyed.

#include "hidgate.h"

#include <cstdint>

#if defined (_WIN32)
  #define KMX_WINDOW_CALLBACK __stdcall
#else
  #define KMX_WINDOW_CALLBACK
#endif

namespace platform
{
    using WindowHandle = HidgateWindow;
    using ModuleHandle = HidgateInstance;

    // Same layout as a Windows window procedure (HWND, UINT, WPARAM, LPARAM) -> LRESULT.
    using WindowProcedure = intptr_t (KMX_WINDOW_CALLBACK*) (WindowHandle window, unsigned int message,
                                                             uintptr_t wParam, intptr_t lParam);

    // The program's module handle; never null for a running program.
    ModuleHandle currentModule();

    bool registerWindowClass (const char* className, WindowProcedure procedure, ModuleHandle instance);
    void unregisterWindowClass (const char* className, ModuleHandle instance);

    WindowHandle createHiddenWindow (const char* className, const char* title, ModuleHandle instance);
    void destroyWindow (WindowHandle window);

    intptr_t defaultWindowProcedure (WindowHandle window, unsigned int message, uintptr_t wParam, intptr_t lParam);

    // Any thread. False if the message could not be queued.
    bool postWindowMessage (WindowHandle window, unsigned int message, uintptr_t wParam, intptr_t lParam);
}
