#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MainWindow;
class InstanceChannel;

class Application : public juce::JUCEApplication
{
public:
    Application();
    ~Application() override;

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;

    MainWindow* getMainWindow() const noexcept { return mainWindow; }

private:
    MainWindow* mainWindow = nullptr;

    // Tells this instance about later starts where the toolkit itself does
    // not; null where the toolkit does it.
    InstanceChannel* instanceChannel = nullptr;
    bool initialised = false;

    JUCE_DECLARE_NON_COPYABLE (Application)
};
