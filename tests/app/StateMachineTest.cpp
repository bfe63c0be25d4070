#include <gtest/gtest.h>

#include "app/MainComponent.h"
#include "device/HidCtrl.h"
#include "support/MainComponentProbe.h"
#include "support/MessageLoop.h"
#include "support/TestApplication.h"
#include "text/TxtLoader.h"

#include <thread>

namespace
{
    enum class Event
    {
        OkClicked,
        CancelClicked,
        ControllerArrived,
        ControllerRemoved,
        RequestReady,          // a request posted like the worker does
        LanguageChanged
    };

    const char* name (Event e)
    {
        switch (e)
        {
            case Event::OkClicked:         return "Ok";
            case Event::CancelClicked:     return "Cancel";
            case Event::ControllerArrived: return "Arrived";
            case Event::ControllerRemoved: return "Removed";
            case Event::RequestReady:      return "RequestReady";
            case Event::LanguageChanged:   return "Language";
        }
        return "?";
    }

    struct Row
    {
        ScreenState from;
        int packageValid;
        bool controllerConnected;
        Event event;
        ScreenState expected;
        bool rebuilt;
        bool quit;
    };

    std::ostream& operator<< (std::ostream& os, const Row& r)
    {
        return os << "from " << r.from << " valid " << r.packageValid << " connected " << r.controllerConnected
                  << " on " << name (r.event);
    }

    // The component lives inside a parent, as in the window: every screen
    // build sets the parent's name, which tells whether a rebuild happened.
    struct Fixture
    {
        Fixture()
        {
            TestApplication::allowInTests();
            app = std::make_unique<TestApplication>();
            parent.addAndMakeVisible (mc);
        }

        ~Fixture()
        {
            parent.removeChildComponent (&mc);
        }

        void putInto (ScreenState s, int valid, bool connected)
        {
            probe.packageValid() = valid;
            probe.state() = s;
            probe.hidCtrl()->connected = connected ? Connected : Disconnected;
            probe.hidCtrl()->firmwareVersion = connected ? 105 : 0;
            mc.buildScreen();
            testsupport::pumpMessages (20);
            parent.setName ({});
        }

        bool rebuilt() const { return parent.getName().isNotEmpty(); }

        std::unique_ptr<TestApplication> app;
        juce::Component parent;
        MainComponent mc;
        MainComponentProbe probe { mc };
    };

    void apply (Fixture& f, Event e)
    {
        switch (e)
        {
            case Event::OkClicked:         f.probe.clickOk(); break;
            case Event::CancelClicked:     f.probe.clickCancel(); break;
            case Event::ControllerArrived: f.mc.deviceArrived(); break;
            case Event::ControllerRemoved: f.mc.deviceRemoved(); break;
            case Event::RequestReady:      f.mc.requestState (Ready); break;
            case Event::LanguageChanged:   f.mc.comboBoxChanged (f.probe.langs()); break;
        }

        testsupport::pumpMessages (30);
    }
}

class StateMachine : public testing::TestWithParam<Row> {};

TEST_P (StateMachine, EventGivesStateRebuildAndQuit)
{
    const auto& row = GetParam();
    Fixture f;
    f.putInto (row.from, row.packageValid, row.controllerConnected);

    apply (f, row.event);

    EXPECT_EQ (f.mc.getState(), row.expected);
    EXPECT_EQ (f.rebuilt(), row.rebuilt);
    EXPECT_EQ (f.app->quitRequests.load() > 0, row.quit);
}

INSTANTIATE_TEST_SUITE_P (Table, StateMachine, testing::Values (
    //   from            valid  conn   event                      -> state          rebuilt quit
    Row { SelectLanguage, 1,    true,  Event::OkClicked,            Ready,          true,  false },
    Row { SelectLanguage, 1,    false, Event::OkClicked,            NotRecognized,  true,  false },
    Row { SelectLanguage, 0,    true,  Event::OkClicked,            Ready,          true,  false },   // accepted, shows the package error
    Row { SelectLanguage, 0,    false, Event::OkClicked,            NotRecognized,  true,  false },
    Row { SelectLanguage, 1,    true,  Event::CancelClicked,        SelectLanguage, false, true  },
    Row { SelectLanguage, 1,    false, Event::ControllerArrived,    SelectLanguage, false, false },   // posted, not applied
    Row { SelectLanguage, 1,    true,  Event::ControllerRemoved,    SelectLanguage, false, false },
    Row { SelectLanguage, 1,    false, Event::RequestReady,         SelectLanguage, false, false },
    Row { SelectLanguage, 1,    false, Event::LanguageChanged,      SelectLanguage, true,  false },   // same language still rebuilds
    Row { NotRecognized,  1,    true,  Event::ControllerArrived,    Ready,          true,  false },
    Row { NotRecognized,  1,    false, Event::ControllerRemoved,    NotRecognized,  true,  false },
    Row { NotRecognized,  1,    false, Event::CancelClicked,        NotRecognized,  false, true  },
    Row { NotRecognized,  0,    true,  Event::ControllerArrived,    NotRecognized,  false, false },   // frozen by the bad package
    Row { Ready,          1,    false, Event::ControllerRemoved,    NotRecognized,  true,  false },
    Row { Ready,          1,    true,  Event::ControllerArrived,    Ready,          true,  false },
    Row { Ready,          1,    true,  Event::CancelClicked,        Ready,          false, true  },
    Row { Ready,          0,    true,  Event::ControllerRemoved,    Ready,          false, false },   // frozen by the bad package
    Row { Ready,          0,    true,  Event::OkClicked,            Ready,          false, true  },
    Row { Updating,       1,    true,  Event::ControllerRemoved,    Updating,       false, false },   // wakes the worker instead
    Row { Updating,       1,    true,  Event::ControllerArrived,    Updating,       false, false },
    Row { Complete,       1,    true,  Event::ControllerRemoved,    Complete,       false, false },
    Row { Complete,       1,    true,  Event::RequestReady,         Complete,       false, false },
    Row { Complete,       1,    true,  Event::CancelClicked,        Complete,       false, true  },   // its OK quits
    Row { Failed,         1,    false, Event::ControllerArrived,    Failed,         false, false },
    Row { Failed,         1,    false, Event::OkClicked,            Failed,         false, true  }
));

TEST (StateMachineRequests, RequestOnLanguageScreenIsNotAppliedLater)
{
    Fixture f;
    f.putInto (SelectLanguage, 1, false);

    f.mc.requestState (Ready);
    testsupport::pumpMessages (30);
    EXPECT_EQ (f.mc.getState(), SelectLanguage);

    // Leaving the language screen does not pick up the old request.
    f.probe.clickOk();
    testsupport::pumpMessages (30);
    EXPECT_EQ (f.mc.getState(), NotRecognized);
}

TEST (StateMachineRequests, OnlyTheLatestRequestCounts)
{
    Fixture f;
    f.putInto (NotRecognized, 1, false);

    f.mc.requestState (Ready);
    f.mc.requestState (Failed);
    testsupport::pumpMessages (30);

    EXPECT_EQ (f.mc.getState(), Failed);
    EXPECT_EQ (f.probe.pendingState(), -1);
}

TEST (StateMachineRequests, RequestFromAnotherThreadIsAppliedOnTheMessageThread)
{
    Fixture f;
    f.putInto (NotRecognized, 1, false);

    std::thread poster ([&] { f.mc.requestState (Ready); });
    poster.join();

    EXPECT_EQ (f.mc.getState(), NotRecognized);   // nothing happens off the message thread
    EXPECT_TRUE (testsupport::pumpUntil ([&] { return f.mc.getState() == Ready; }, 2000));
    EXPECT_TRUE (f.rebuilt());
}

TEST (StateMachineRequests, RemovalDuringUpdatingWakesTheWorkerWithAnEmptyAnswer)
{
    Fixture f;
    f.putInto (Updating, 1, true);
    f.probe.response()[0] = 0xF9;
    f.probe.responseEvent().reset();

    f.mc.deviceRemoved();

    EXPECT_EQ (f.probe.pendingState(), -1);
    EXPECT_EQ (f.probe.response()[0], 0);
    EXPECT_TRUE (f.probe.responseEvent().wait (0));
    EXPECT_EQ (f.probe.deviceVersion(), -1);
}

TEST (StateMachineRequests, InputOutsideUpdatingIsCopiedButWakesNobody)
{
    Fixture f;
    f.putInto (Ready, 1, true);
    f.probe.responseEvent().reset();

    auto* ctrl = f.probe.hidCtrl();
    ctrl->input[0] = 0xF8;
    ctrl->input[1] = 42;
    ctrl->inputLength = 2;
    f.mc.inputReceived();

    EXPECT_EQ (f.probe.response()[0], 0xF8);
    EXPECT_EQ (f.probe.response()[1], 42);
    EXPECT_FALSE (f.probe.responseEvent().wait (0));

    // In Updating the same input wakes the worker; an empty one never does.
    f.probe.state() = Updating;
    f.mc.inputReceived();
    EXPECT_TRUE (f.probe.responseEvent().wait (0));

    ctrl->inputLength = 0;
    f.mc.inputReceived();
    EXPECT_FALSE (f.probe.responseEvent().wait (0));
}

TEST (StateMachineScreens, ControlsFollowTheState)
{
    Fixture f;

    struct Expect { ScreenState s; bool langs, bar, ok, cancel; };
    for (auto e : { Expect { SelectLanguage, true,  false, true,  true  },
                    Expect { NotRecognized,  false, false, false, true  },
                    Expect { Ready,          false, false, true,  true  },
                    Expect { Updating,       false, true,  false, false },
                    Expect { Complete,       false, false, false, true  },
                    Expect { Failed,         false, false, false, true  } })
    {
        f.putInto (e.s, 1, true);
        SCOPED_TRACE (e.s);
        EXPECT_EQ (f.probe.langs()->isVisible(), e.langs);
        EXPECT_EQ (f.probe.progressBar()->isVisible(), e.bar);
        EXPECT_EQ (f.probe.okButton()->isVisible(), e.ok);
        EXPECT_EQ (f.probe.cancelButton()->isVisible(), e.cancel);
    }
}

TEST (StateMachineLayout, ControlsAreLaidOutFromTheSize)
{
    Fixture f;
    f.mc.setSize (420, 170);
    EXPECT_EQ (f.probe.langs()->getBounds(), juce::Rectangle<int> (20, 75, 380, 20));
    EXPECT_EQ (f.probe.progressBar()->getBounds(), juce::Rectangle<int> (20, 75, 380, 20));
    EXPECT_EQ (f.probe.okButton()->getBounds(), juce::Rectangle<int> (300, 130, 100, 20));
    EXPECT_EQ (f.probe.cancelButton()->getBounds(), juce::Rectangle<int> (190, 130, 100, 20));

    f.mc.setSize (426, 176);
    EXPECT_EQ (f.probe.langs()->getBounds(), juce::Rectangle<int> (20, 78, 386, 20));
    EXPECT_EQ (f.probe.okButton()->getBounds(), juce::Rectangle<int> (306, 136, 100, 20));
}

TEST (StateMachineConstruction, StartsOnTheLanguageScreenWithNothingPending)
{
    TestApplication::allowInTests();
    MainComponent mc;
    MainComponentProbe probe (mc);

    EXPECT_EQ (mc.getState(), SelectLanguage);
    EXPECT_EQ (probe.pendingState(), -1);
    EXPECT_EQ (probe.deviceVersion(), -1);
    EXPECT_EQ (probe.progress().load(), 0.0);
    EXPECT_EQ (mc.getWidth(), 420);
    EXPECT_EQ (mc.getHeight(), 170);
    EXPECT_EQ (mc.getThreadName(), "MainComponent");
}
