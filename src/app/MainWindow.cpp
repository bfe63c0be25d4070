#include "app/MainWindow.h"
#include "app/MainComponent.h"
#include "platform/RepaintPump.h"

MainWindow::MainWindow()
    : juce::ResizableWindow ("KMXUpdateProgram", true)
{
    setContentOwned (new MainComponent(), true);
    centreWithSize (getWidth(), getHeight());
    setAlwaysOnTop (true);
    prepareWindow (*this);
    setVisible (true);

    // Dropping JUCE's own frame lays the content out again at the full client
    // size; that build is the first one inside the window and sets the title.
    setUsingNativeTitleBar (true);
}

MainWindow::~MainWindow() = default;
