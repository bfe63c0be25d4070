#pragma once

// The three notifications of the device connection. HidCtrl hears them from
// HidUtil; the main component hears them from HidCtrl. All on the message thread.
class HidHandler
{
public:
    virtual void deviceRemoved() = 0;
    virtual void deviceArrived() = 0;
    virtual void inputReceived() = 0;
};
