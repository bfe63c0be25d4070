#include <gtest/gtest.h>

#include "DeviceSupport.h"
#include "app/MainComponent.h"
#include "device/HidCtrl.h"
#include "device/HidUtil.h"
#include "support/MainComponentProbe.h"

#include <thread>

namespace emu = hidgate_emulator;
using devicetest::settle;

namespace
{
    // The main component over the emulated controller, as with a valid
    // package (the test folder has none, so the connection is reopened for
    // the update-mode type).
    struct MainComponentDevice : ::testing::Test
    {
        void SetUp() override
        {
            emu::reset();
            emu::setAnswerDelay (0);
            mc = std::make_unique<MainComponent>();
            probe = std::make_unique<MainComponentProbe> (*mc);

            probe->hidCtrl()->close();
            probe->packageValid() = 1;
            probe->packageVersion() = 123;
            probe->packageSize() = 100;
            ASSERT_TRUE (probe->hidCtrl()->open (mc.get(), 1));
        }

        void TearDown() override
        {
            probe.reset();
            mc.reset();
            settle();
            emu::reset();
        }

        bool signalled() { return probe->responseEvent().wait (0); }

        std::unique_ptr<MainComponent> mc;
        std::unique_ptr<MainComponentProbe> probe;
    };
}

TEST_F (MainComponentDevice, UnplugAndReplugMoveBetweenReadyAndNotRecognized)
{
    probe->clickOk();
    ASSERT_EQ (mc->getState(), Ready);
    EXPECT_EQ (probe->deviceVersion(), 105);

    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE (round);
        const auto numbers = emu::attachedDevices();
        ASSERT_EQ (numbers.size(), 1u);
        emu::unplug (numbers[0]);
        ASSERT_TRUE (testsupport::pumpUntil ([&] { return mc->getState() == NotRecognized; }));
        EXPECT_EQ (probe->deviceVersion(), -1);

        emu::plug (14, 106 + round);
        ASSERT_TRUE (testsupport::pumpUntil ([&] { return mc->getState() == Ready; }));
        EXPECT_EQ (probe->deviceVersion(), 106 + round);
    }
}

TEST_F (MainComponentDevice, InputOutsideUpdatingUpdatesResponseWithoutSignalling)
{
    probe->clickOk();
    ASSERT_EQ (mc->getState(), Ready);
    std::fill (probe->response(), probe->response() + 256, (juce::uint8) 0xAA);

    emu::injectInput (1, { 0x12, 0x34 });
    settle();
    EXPECT_EQ (probe->response()[0], 0x12);
    EXPECT_EQ (probe->response()[1], 0x34);
    EXPECT_EQ (probe->response()[2], 0xAA);
    EXPECT_FALSE (signalled());

    // The same input while updating wakes the worker.
    probe->state() = Updating;
    emu::injectInput (1, { 0x56 });
    settle();
    EXPECT_EQ (probe->response()[0], 0x56);
    EXPECT_TRUE (signalled());
}

TEST_F (MainComponentDevice, AnInputMessageWithNothingWaitingDoesNotWakeTheWorker)
{
    probe->state() = Updating;
    probe->response()[0] = 0x77;
    platform::postWindowMessage (probe->hidCtrl()->util->window, 1027, 1, 0);
    settle();
    EXPECT_EQ (probe->hidCtrl()->inputLength, 0);
    EXPECT_EQ (probe->response()[0], 0x77);
    EXPECT_FALSE (signalled());
}

TEST_F (MainComponentDevice, ArrivalOrRemovalWhileUpdatingWakesTheWorkerWithZeros)
{
    const int second = emu::plug (14, 106);

    struct Case { const char* what; std::function<void()> act; };
    const Case cases[] {
        { "removal, another controller found", [] { emu::unplug (1); } },
        { "removal of the last one", [second] { emu::unplug (second); } },
        { "arrival", [] { emu::plug(); } },
    };

    probe->state() = Updating;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        std::fill (probe->response(), probe->response() + 256, (juce::uint8) 0xAA);
        c.act();
        settle();
        EXPECT_TRUE (signalled());
        EXPECT_EQ (probe->response()[0], 0);
        EXPECT_EQ (probe->response()[255], 0);
        EXPECT_EQ (probe->pendingState(), -1);
        EXPECT_EQ (mc->getState(), Updating);
    }
}

TEST_F (MainComponentDevice, TheWorkersUpdatingRequestIsHandledBeforeTheFirstAnswer)
{
    // As the worker does: request Updating, then write at once. The answer
    // must find the state already at Updating, or it would not wake anyone.
    const juce::uint8 poll[64] { 0xF2 };

    for (int round = 0; round < 20; ++round)
    {
        SCOPED_TRACE (round);
        probe->state() = Ready;
        probe->responseEvent().reset();

        std::thread worker ([&]
        {
            mc->requestState (Updating);
            probe->hidCtrl()->writeIfConnected (poll, 64);
        });
        worker.join();

        ASSERT_TRUE (testsupport::pumpUntil ([&] { return signalled(); }));
        EXPECT_EQ (mc->getState(), Updating);
        EXPECT_EQ (probe->response()[0], emu::refusedCode);
    }
}
