#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <atomic>

#include "app/ScreenState.h"
#include "device/HidHandler.h"
#include "app/SharedProgressBar.h"

class HidCtrl;
class LangLookAndFeel;
class ProgressLookAndFeel;
class ZivuvButton;

// The whole content of the main window. It owns every other object of the
// program, holds the screen state and is the only place that changes it.
class MainComponent : public juce::Component,
                      public juce::AsyncUpdater,
                      public juce::Thread,
                      public HidHandler,
                      public juce::ComboBox::Listener,
                      public juce::Button::Listener
{
public:
    MainComponent();
    ~MainComponent() override;

    // Component
    void paint (juce::Graphics& g) override;
    void resized() override;

    // AsyncUpdater: applies the latest posted state request.
    void handleAsyncUpdate() override;

    // Thread: the firmware transfer.
    void run() override;

    // HidHandler: notifications from the device connection, message thread.
    void deviceRemoved() override;
    void deviceArrived() override;
    void inputReceived() override;

    void comboBoxChanged (juce::ComboBox* changed) override;
    void buttonClicked (juce::Button* clicked) override;

    void setState (ScreenState requested);
    void buildScreen();
    void stopAndQuit();
    int readPackage (const juce::String& fileName, const char* identifier, int* versionOut);

    // Posts a state request to be applied on the message thread; any thread.
    void requestState (ScreenState requested);

    ScreenState getState() const noexcept { return state; }

private:
    // Wakes a running worker again and again with an empty answer until it
    // has ended; each wake fails the step it waits in, so it ends at once.
    void endWorkerNow();
    void wakeWorkerWithEmptyAnswer();

    friend class MainComponentProbe;   // read-only access for the tests

    void addInstructions (float x, float y, int language, const juce::String& fontName, bool withNotRecognizedLine);
    void addUpdateModeHint (float x, float y, int language, const juce::String& fontName);

    juce::GlyphArrangement screenText;
    LangLookAndFeel* langLookAndFeel = nullptr;
    juce::ComboBox* langs = nullptr;
    ProgressLookAndFeel* progressLookAndFeel = nullptr;

    // Written by the worker, shown by the progress bar on the message thread;
    // atomic because the two threads share it without a lock.
    std::atomic<double> progress { 0.0 };
    SharedProgressBar* progressBar = nullptr;

    ZivuvButton* okButton = nullptr;
    ZivuvButton* cancelButton = nullptr;

    juce::CriticalSection stateLock;
    juce::WaitableEvent responseEvent { false };   // auto-reset

    int packageVersion = -1;
    int packageValid = 0;
    int packageSize = 0;
    juce::uint32 segmentLength[8] {};
    juce::uint16 segmentChecksum[8] {};
    juce::uint8 segmentEnabled[8] {};

    int deviceVersion = -1;
    ScreenState state = SelectLanguage;
    int pendingState = -1;
    HidCtrl* hidCtrl = nullptr;
    juce::uint8 response[256] {};
    double reportedPercent = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};

// The colour of the background and of both buttons.
extern const juce::Colour backgroundColour;
