// The real program, as a person uses it: started from a folder holding it,
// the emulated controller and (or not) the update package; its window found
// by its title; clicked through xdotool; each screen read back as the
// window's pixels and compared with the program's own drawing of the
// expected screen.
#include <gtest/gtest.h>

#include "ProgramFolder.h"
#include "ScreenCheck.h"
#include "support/ProgramRunner.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

using namespace e2e;
using testsupport::ProgramRunner;

namespace
{
    // Records what the emulator took, in files beside the program.
    const juce::String recordLines = "record_segments received-segment-\n"
                                     "record_start received-start.txt\n";

    class EndToEnd : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            // The language the program picks follows the locale; both it and
            // the expected pictures are made in English.
            ::setenv ("LC_ALL", "C.UTF-8", 1);

            screens = std::make_unique<ExpectedScreens>();
        }

        void TearDown() override
        {
            // Show what the programs printed, so that a sanitizer report or a
            // toolkit check from the real program fails the test too.
            // A debug build of the toolkit also prints an X error for each
            // window-manager atom this bare X server lacks; those are left out.
            for (auto& log : logs)
            {
                juce::StringArray lines;
                log.readLines (lines);
                lines.removeEmptyStrings();

                for (int i = lines.size(); --i >= 0;)
                    if (lines[i].startsWith ("ERROR: X returned BadAtom"))
                        lines.remove (i);

                if (! lines.isEmpty())
                    std::cout << "--- " << log.getFullPathName() << "\n" << lines.joinIntoString ("\n") << std::endl;
            }
        }

        static juce::String runName()
        {
            return ::testing::UnitTest::GetInstance()->current_test_info()->name();
        }

        bool start (ProgramRunner& program, const ProgramFolder& folder)
        {
            auto log = folder.file ("program.log");
            logs.add (log);
            return program.start (folder.executable(), log);
        }

        // Waits for the window and reads its size.
        ::Window openWindow (ProgramRunner& program)
        {
            const auto w = program.waitForWindow (screens->title(), 15000);

            if (w != 0)
                testsupport::windowSize (program.display(), w, width, height);

            return w;
        }

        // Why no window showed. A program that ends at once has met the
        // one-instance lock: another copy runs somewhere on this machine
        // (another test run, or one started by hand, on any display).
        juce::String noWindow (ProgramRunner& program) const
        {
            if (! program.isRunning())
                return "the program ended without a window: is another KMXUpdateProgram running on this machine?";

            return "no window titled " + screens->title();
        }

        // Polls the window until it shows the expected screen.
        ::testing::AssertionResult waitForScreen (ProgramRunner& program, ::Window w, const char* name,
                                                  ScreenState state, bool packageValid, int timeoutMs,
                                                  juce::Rectangle<int> ignore = {})
        {
            const auto expected = screens->render (state, packageValid, width, height);
            const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
            juce::Image actual;
            Comparison c;

            for (;;)
            {
                actual = testsupport::captureWindow (program.display(), w);
                c = compare (actual, expected, ignore);

                if (isMatch (c))
                    return ::testing::AssertionSuccess();

                if (juce::Time::getMillisecondCounter() > end || ! program.isRunning())
                    break;

                juce::Thread::sleep (50);
            }

            return ::testing::AssertionFailure()
                << saveMismatch (ProgramFolder::runsFolder().getChildFile (runName()), name, actual, expected, c)
                << (program.isRunning() ? "" : " (the program has ended)");
        }

        juce::Point<int> rightButton() const { return { width - 120 + 50, height - 40 + 10 }; }
        juce::Point<int> leftButton() const  { return { width - 230 + 50, height - 40 + 10 }; }

        // A click as a person makes it; the pointer then leaves the window so
        // that no button is left in its hovered look for the next picture.
        static bool click (::Window w, juce::Point<int> at)
        {
            const bool clicked = testsupport::clickInWindow (w, at.x, at.y);
            return testsupport::movePointerAway() && clicked;
        }

        static ::testing::AssertionResult exitsWithZero (ProgramRunner& program)
        {
            int exitCode = -1;

            if (! program.waitForExit (20000, exitCode))
                return ::testing::AssertionFailure() << "the program did not end";

            if (exitCode != 0)
                return ::testing::AssertionFailure() << "the program ended with " << exitCode;

            return ::testing::AssertionSuccess();
        }

        // Language screen, OK, Ready with both versions, Start.
        void startUpdate (ProgramRunner& program, ::Window w)
        {
            ASSERT_TRUE (waitForScreen (program, w, "SelectLanguage", SelectLanguage, true, 10000));
            ASSERT_TRUE (click (w, rightButton()));
            ASSERT_TRUE (waitForScreen (program, w, "Ready", Ready, true, 10000));
            ASSERT_TRUE (click (w, rightButton()));
        }

        // Watches the Updating screen until it gives way; returns the bar
        // fills seen while it showed.
        juce::Array<double> watchUpdating (ProgramRunner& program, ::Window w, int timeoutMs)
        {
            const auto bar = barBounds (width, height);
            const auto updating = screens->render (Updating, true, width, height);
            const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
            juce::Array<double> fills;
            bool seen = false;

            while (juce::Time::getMillisecondCounter() < end && program.isRunning())
            {
                const auto actual = testsupport::captureWindow (program.display(), w);

                if (isMatch (compare (actual, updating, bar)))
                {
                    seen = true;
                    fills.add (barFill (actual, bar));
                }
                else if (seen)
                {
                    break;
                }

                juce::Thread::sleep (40);
            }

            return fills;
        }

        // The emulator's record of the bytes it took equals the package's
        // segments that are marked to be written, and it finished.
        static void expectReceivedEqualsPackage (const ProgramFolder& folder)
        {
            const auto package = readSegments (folder.file ("KMX-Q7_UP.upd"));
            ASSERT_TRUE (package.valid);

            for (int i = 0; i < 8; ++i)
            {
                juce::MemoryBlock received;
                folder.file ("received-segment-" + juce::String (i + 1) + ".bin").loadFileAsData (received);
                // Compared by hand: MemoryBlock's own comparison hands a null
                // pointer to memcmp for empty blocks.
                const bool same = received.getSize() == package.data[i].getSize()
                               && (received.isEmpty()
                                   || std::memcmp (received.getData(), package.data[i].getData(), received.getSize()) == 0);
                EXPECT_TRUE (same)
                    << "segment " << (i + 1) << ": received " << received.getSize()
                    << " bytes, the package holds " << package.data[i].getSize()
                    << (package.enabled[i] ? "" : " (not to be written)");
            }

            EXPECT_TRUE (folder.file ("received-start.txt").loadFileAsString().contains ("finished 1"));
        }

        std::unique_ptr<ExpectedScreens> screens;
        juce::Array<juce::File> logs;
        int width = 0, height = 0;
    };
}

TEST_F (EndToEnd, WholeUpdateWithTheMouse)
{
    ProgramFolder folder (runName(), true, recordLines);
    ASSERT_TRUE (folder.isReady());

    ProgramRunner program;
    ASSERT_NE (program.display(), nullptr);
    ASSERT_TRUE (start (program, folder));
    const auto w = openWindow (program);
    ASSERT_NE (w, 0u) << noWindow (program);

    startUpdate (program, w);
    if (HasFatalFailure()) return;

    // The bar shows and fills while the slices go out.
    const auto fills = watchUpdating (program, w, 60000);
    ASSERT_FALSE (fills.isEmpty()) << "the Updating screen never showed";
    EXPECT_GT (fills.getLast(), fills.getFirst()) << "the bar did not move";

    ASSERT_TRUE (waitForScreen (program, w, "Complete", Complete, true, 60000));
    ASSERT_TRUE (click (w, rightButton()));
    EXPECT_TRUE (exitsWithZero (program));

    expectReceivedEqualsPackage (folder);
}

TEST_F (EndToEnd, ControllerRemovedDuringTheSlicesEndsOnFailed)
{
    // Segment 2 has over a thousand slices; the controller goes at the 500th.
    ProgramFolder folder (runName(), true, recordLines + "fault slice 2 500 remove\n");
    ASSERT_TRUE (folder.isReady());

    ProgramRunner program;
    ASSERT_TRUE (start (program, folder));
    const auto w = openWindow (program);
    ASSERT_NE (w, 0u) << noWindow (program);

    startUpdate (program, w);
    if (HasFatalFailure()) return;

    ASSERT_TRUE (waitForScreen (program, w, "Failed", Failed, true, 60000));
    ASSERT_TRUE (click (w, rightButton()));
    EXPECT_TRUE (exitsWithZero (program));

    EXPECT_TRUE (folder.file ("received-start.txt").loadFileAsString().contains ("finished 0"));
}

TEST_F (EndToEnd, MissingPackageShowsThePackageError)
{
    ProgramFolder folder (runName(), false, {});
    ASSERT_TRUE (folder.isReady());

    ProgramRunner program;
    ASSERT_TRUE (start (program, folder));
    const auto w = openWindow (program);
    ASSERT_NE (w, 0u) << noWindow (program);

    ASSERT_TRUE (waitForScreen (program, w, "SelectLanguage", SelectLanguage, false, 10000));
    ASSERT_TRUE (click (w, rightButton()));
    ASSERT_TRUE (waitForScreen (program, w, "PackageError", Ready, false, 10000));
    ASSERT_TRUE (click (w, rightButton()));
    EXPECT_TRUE (exitsWithZero (program));
}

TEST_F (EndToEnd, NoControllerThenOneArrivesWithoutAClick)
{
    // No controller at first; one in update mode is plugged in 8 s after the
    // program opened the device layer, long after the OK below.
    ProgramFolder folder (runName(), true, "no_devices\nat 8000 plug 14 105\n");
    ASSERT_TRUE (folder.isReady());

    ProgramRunner program;
    ASSERT_TRUE (start (program, folder));
    const auto w = openWindow (program);
    ASSERT_NE (w, 0u) << noWindow (program);

    ASSERT_TRUE (waitForScreen (program, w, "SelectLanguage", SelectLanguage, true, 10000));
    ASSERT_TRUE (click (w, rightButton()));
    ASSERT_TRUE (waitForScreen (program, w, "NotRecognized", NotRecognized, true, 5000));
    ASSERT_TRUE (waitForScreen (program, w, "ReadyAfterArrival", Ready, true, 30000));

    ASSERT_TRUE (click (w, leftButton()));   // Close
    EXPECT_TRUE (exitsWithZero (program));
}

TEST_F (EndToEnd, SecondStartDuringTheUpdateExitsAndTheFirstCompletes)
{
    // Slower answers keep the transfer going for several seconds.
    ProgramFolder folder (runName(), true, recordLines + "answer_delay_ms 4\n");
    ASSERT_TRUE (folder.isReady());

    ProgramRunner first;
    ASSERT_TRUE (start (first, folder));
    const auto w = openWindow (first);
    ASSERT_NE (w, 0u) << noWindow (first);

    startUpdate (first, w);
    if (HasFatalFailure()) return;
    ASSERT_TRUE (waitForScreen (first, w, "Updating", Updating, true, 10000, barBounds (width, height)));

    // A second copy of the program, from a folder of its own, so that its
    // emulator could not touch the first one's records.
    ProgramFolder secondFolder (runName() + "-second", true, {});
    ASSERT_TRUE (secondFolder.isReady());
    ProgramRunner second;
    ASSERT_TRUE (start (second, secondFolder));
    EXPECT_TRUE (exitsWithZero (second));
    EXPECT_TRUE (first.isRunning());

    ASSERT_TRUE (waitForScreen (first, w, "Complete", Complete, true, 60000));
    ASSERT_TRUE (click (w, rightButton()));
    EXPECT_TRUE (exitsWithZero (first));

    expectReceivedEqualsPackage (folder);
}
