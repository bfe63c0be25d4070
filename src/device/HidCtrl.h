#pragma once

#include <juce_core/juce_core.h>
#include <atomic>

#include "device/HidHandler.h"

class HidUtil;

enum ConnectionState
{
    Disconnected = 0,
    Connected    = 1,
    WrittenTo    = 2
};

// The cached picture of the controller: whether one is open, its firmware
// version and its last input report. Hears the notifications of its HidUtil,
// updates the cache, then forwards them to its handler. Message thread,
// except writeIfConnected.
class HidCtrl : public HidHandler
{
public:
    HidCtrl();
    virtual ~HidCtrl();

    bool open (HidHandler* handler, int deviceTypeIndex);
    void close();

    bool findDevice();
    int readFirmwareVersion();
    int readInput (juce::uint8* buffer, int length);
    bool write (const juce::uint8* data, int length);

    // Worker thread.
    bool writeIfConnected (const juce::uint8* data, int length);

    void deviceRemoved() override;
    void deviceArrived() override;
    void inputReceived() override;

    HidHandler* handler = nullptr;
    HidUtil* util = nullptr;
    std::atomic<int> connected { Disconnected };
    int firmwareVersion = 0;
    juce::uint8 input[256] {};
    int inputLength = 0;

private:
    void clearInput();

    JUCE_DECLARE_NON_COPYABLE (HidCtrl)
};
