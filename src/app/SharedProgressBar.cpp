#include "app/SharedProgressBar.h"

SharedProgressBar::SharedProgressBar (const std::atomic<double>& source)
    : detail::ShownProgress (source.load (std::memory_order_relaxed)),
      juce::ProgressBar (shown),
      mirror (source, shown)
{
    mirror.startTimerHz (30);
}

SharedProgressBar::~SharedProgressBar()
{
    mirror.stopTimer();
}
