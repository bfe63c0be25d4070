#include "app/Application.h"
#include "app/MainWindow.h"
#include "platform/Foreground.h"
#include "platform/InstanceChannel.h"
#include "platform/RepaintPump.h"

Application::Application() = default;
Application::~Application() = default;

void Application::initialise (const juce::String&)
{
    initialised = true;
    startRepaintPump();
    mainWindow = new MainWindow();

    instanceChannel = InstanceChannel::listen (getApplicationName(), [this] (const juce::String& commandLine)
    {
        anotherInstanceStarted (commandLine);
    });
}

void Application::shutdown()
{
    // The toolkit also calls this in a second instance that it refused, where
    // initialise never ran: that instance only hands its start on.
    if (! initialised)
        InstanceChannel::notifyRunningInstance (getApplicationName(), getCommandLineParameters());

    delete instanceChannel;
    instanceChannel = nullptr;

    delete mainWindow;
    mainWindow = nullptr;

    if (initialised)
        stopRepaintPump();
}

const juce::String Application::getApplicationName()
{
    return "KMXUpdateProgram";
}

const juce::String Application::getApplicationVersion()
{
    return "0.0.0.1";
}

bool Application::moreThanOneInstanceAllowed()
{
    // Lets the running instance come to the front when this one hands over.
    allowAnyProcessToSetForeground();
    return false;
}

void Application::anotherInstanceStarted (const juce::String&)
{
    if (mainWindow != nullptr && mainWindow->isVisible())
        mainWindow->toFront (true);
}
