#pragma once

#include <juce_core/juce_core.h>
#include <atomic>

#include "device/HidHandler.h"

enum ConnectionState
{
    Disconnected = 0,
    Connected    = 1,
    WrittenTo    = 2
};

// The cached picture of the controller. (Placeholder: finds nothing.)
class HidCtrl : public HidHandler
{
public:
    HidCtrl();
    virtual ~HidCtrl();

    bool open (HidHandler* handler, int deviceTypeIndex);
    void close();

    // Worker thread.
    bool writeIfConnected (const juce::uint8* data, int length);

    void deviceRemoved() override;
    void deviceArrived() override;
    void inputReceived() override;

    HidHandler* handler = nullptr;
    std::atomic<int> connected { Disconnected };
    int firmwareVersion = 0;
    juce::uint8 input[256] {};
    int inputLength = 0;

    JUCE_DECLARE_NON_COPYABLE (HidCtrl)
};
