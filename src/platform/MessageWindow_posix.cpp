#include "platform/MessageWindow.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform
{
namespace
{
    struct WindowClass
    {
        std::string name;
        WindowProcedure procedure;
    };

    std::mutex classesLock;
    std::vector<WindowClass> classes;

    // What a queued message needs of its window. It outlives the window, so a
    // message still in the queue after destroyWindow finds it marked dead.
    struct WindowState
    {
        std::atomic<bool> alive { true };
        WindowProcedure procedure = nullptr;
        WindowHandle handle = nullptr;
    };

    struct PosixWindow : HidgateMessageSink
    {
        std::shared_ptr<WindowState> state;
    };

    class WindowMessage final : public juce::MessageManager::MessageBase
    {
    public:
        WindowMessage (std::shared_ptr<WindowState> s, unsigned int m, uintptr_t w, intptr_t l)
            : state (std::move (s)), message (m), wParam (w), lParam (l) {}

        void messageCallback() override
        {
            if (state->alive)
                state->procedure (state->handle, message, wParam, lParam);
        }

    private:
        std::shared_ptr<WindowState> state;
        unsigned int message;
        uintptr_t wParam;
        intptr_t lParam;
    };

    void postToSink (HidgateMessageSink* sink, unsigned int message, uintptr_t wParam, intptr_t lParam)
    {
        postWindowMessage (sink, message, wParam, lParam);
    }

    char moduleToken;
}

ModuleHandle currentModule()
{
    return &moduleToken;
}

bool registerWindowClass (const char* className, WindowProcedure procedure, ModuleHandle)
{
    if (className == nullptr || procedure == nullptr)
        return false;

    const std::lock_guard<std::mutex> l (classesLock);

    for (const auto& c : classes)
        if (c.name == className)
            return false;

    classes.push_back ({ className, procedure });
    return true;
}

void unregisterWindowClass (const char* className, ModuleHandle)
{
    if (className == nullptr)
        return;

    const std::lock_guard<std::mutex> l (classesLock);

    for (auto it = classes.begin(); it != classes.end(); ++it)
    {
        if (it->name == className)
        {
            classes.erase (it);
            return;
        }
    }
}

WindowHandle createHiddenWindow (const char* className, const char*, ModuleHandle)
{
    if (className == nullptr)
        return nullptr;

    WindowProcedure procedure = nullptr;

    {
        const std::lock_guard<std::mutex> l (classesLock);

        for (const auto& c : classes)
            if (c.name == className)
                procedure = c.procedure;
    }

    if (procedure == nullptr)
        return nullptr;

    auto* window = new PosixWindow();
    window->post = postToSink;
    window->state = std::make_shared<WindowState>();
    window->state->procedure = procedure;
    window->state->handle = window;
    return window;
}

void destroyWindow (WindowHandle handle)
{
    if (handle == nullptr)
        return;

    auto* window = static_cast<PosixWindow*> (handle);
    window->state->alive = false;
    delete window;
}

intptr_t defaultWindowProcedure (WindowHandle, unsigned int, uintptr_t, intptr_t)
{
    return 0;
}

bool postWindowMessage (WindowHandle handle, unsigned int message, uintptr_t wParam, intptr_t lParam)
{
    if (handle == nullptr)
        return false;

    auto* window = static_cast<PosixWindow*> (handle);
    return (new WindowMessage (window->state, message, wParam, lParam))->post();
}
}
