#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <atomic>

namespace detail
{
    // Constructed before the ProgressBar base, which reads the value at once.
    struct ShownProgress
    {
        explicit ShownProgress (double initial) : shown (initial) {}
        double shown;
    };
}

// A progress bar that shows a value written by another thread.
//
// juce::ProgressBar polls a plain double that it holds by reference; a worker
// writing that double while the bar reads it would be a data race. This bar
// polls its own double, which only the message thread touches, and a timer
// on the message thread copies the shared atomic value into it at the rate
// at which the bar itself refreshes.
class SharedProgressBar : private detail::ShownProgress,
                          public juce::ProgressBar
{
public:
    explicit SharedProgressBar (const std::atomic<double>& source);
    ~SharedProgressBar() override;

    // The value the bar shows at the moment (message thread).
    double getShownProgress() const noexcept { return shown; }

private:
    struct Mirror : juce::Timer
    {
        Mirror (const std::atomic<double>& s, double& t) : source (s), target (t) {}
        void timerCallback() override { target = source.load (std::memory_order_relaxed); }

        const std::atomic<double>& source;
        double& target;
    };

    Mirror mirror;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SharedProgressBar)
};
