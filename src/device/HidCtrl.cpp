#include "device/HidCtrl.h"

HidCtrl::HidCtrl() = default;
HidCtrl::~HidCtrl() { close(); }

bool HidCtrl::open (HidHandler* h, int)
{
    handler = h;
    connected = Disconnected;
    return true;
}

void HidCtrl::close() { handler = nullptr; }

bool HidCtrl::writeIfConnected (const juce::uint8*, int)
{
    if (connected == Disconnected)
        return false;

    connected = WrittenTo;
    return false;
}

void HidCtrl::deviceRemoved() {}
void HidCtrl::deviceArrived() {}
void HidCtrl::inputReceived() {}
