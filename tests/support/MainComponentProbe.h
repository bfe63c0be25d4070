#pragma once

#include "app/MainComponent.h"
#include "device/HidCtrl.h"

// Reaches the main component's private state for tests and tools.
class MainComponentProbe
{
public:
    explicit MainComponentProbe (MainComponent& m) : mc (m) {}

    ScreenState& state()             { return mc.state; }
    int& packageValid()              { return mc.packageValid; }
    int& packageVersion()            { return mc.packageVersion; }
    int& packageSize()               { return mc.packageSize; }
    int& deviceVersion()             { return mc.deviceVersion; }
    int& pendingState()              { return mc.pendingState; }
    std::atomic<double>& progress()  { return mc.progress; }
    double& reportedPercent()        { return mc.reportedPercent; }
    juce::uint8* response()          { return mc.response; }
    juce::WaitableEvent& responseEvent() { return mc.responseEvent; }
    juce::CriticalSection& stateLock()   { return mc.stateLock; }
    HidCtrl* hidCtrl()               { return mc.hidCtrl; }
    juce::ComboBox* langs()          { return mc.langs; }
    juce::ProgressBar* progressBar() { return mc.progressBar; }
    juce::Button* okButton()         { return (juce::Button*) mc.okButton; }
    juce::Button* cancelButton()     { return (juce::Button*) mc.cancelButton; }
    juce::GlyphArrangement& screenText() { return mc.screenText; }

    juce::uint32* segmentLength()    { return mc.segmentLength; }
    juce::uint16* segmentChecksum()  { return mc.segmentChecksum; }
    juce::uint8* segmentEnabled()    { return mc.segmentEnabled; }

    void clickOk()     { mc.buttonClicked (okButton()); }
    void clickCancel() { mc.buttonClicked (cancelButton()); }

private:
    MainComponent& mc;
};
