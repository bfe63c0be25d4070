#include "app/MainComponent.h"

#include "device/HidCtrl.h"
#include "text/TxtLoader.h"
#include "ui/ImageLoader.h"
#include "ui/LangLookAndFeel.h"
#include "ui/ProgressLookAndFeel.h"
#include "ui/ZivuvButton.h"

const juce::Colour backgroundColour { 234, 234, 234 };

static_assert (juce::ProgressBar::foregroundColourId == 0x1001a00, "colour id of the bar's fill");
static_assert (juce::ProgressBar::backgroundColourId == 0x1001900, "colour id of the bar's field");
static_assert (juce::TextButton::buttonColourId == 0x1000100, "colour id of a button's face");
static_assert (juce::TextButton::buttonOnColourId == 0x1000101, "colour id of a toggled button's face");

MainComponent::MainComponent()
    : juce::Component(),
      juce::AsyncUpdater(),
      juce::Thread ("MainComponent")
{
    screenText.clear();
    progress = 0.0;

    packageVersion = -1;
    packageValid = 0;
    deviceVersion = -1;
    state = SelectLanguage;
    pendingState = -1;
    hidCtrl = nullptr;

    createTextTable();
    createImageStore();

    langLookAndFeel = new LangLookAndFeel();

    langs = new juce::ComboBox ("langs");
    addAndMakeVisible (langs);
    langs->setLookAndFeel (langLookAndFeel);
    langs->addListener (this);
    langs->setWantsKeyboardFocus (false);

    auto* texts = getTextTable();

    for (int i = 0; i < 12; ++i)
        if (texts->available[i] != 0)
            langs->addItem (texts->getLanguageName (i), i + 1);

    langs->setSelectedId (texts->currentLanguage + 1, juce::dontSendNotification);

    progressLookAndFeel = new ProgressLookAndFeel();

    progressBar = new SharedProgressBar (progress);
    addAndMakeVisible (progressBar);
    progressBar->setLookAndFeel (progressLookAndFeel);
    progressBar->setColour (juce::ProgressBar::foregroundColourId, juce::Colour (61, 61, 61));
    progressBar->setColour (juce::ProgressBar::backgroundColourId, juce::Colour (8, 8, 8));

    for (auto** button : { &okButton, &cancelButton })
    {
        *button = new ZivuvButton (button == &okButton ? "OK" : "Cancel");
        addAndMakeVisible (*button);
        (*button)->addListener (this);
        (*button)->setFontStyle (1);
        (*button)->setColour (juce::TextButton::buttonColourId, backgroundColour);
        (*button)->setColour (juce::TextButton::buttonOnColourId, backgroundColour);
    }

    int version = -1;
    const int result = readPackage ("KMX-Q7_UP.upd", "KMX-Q7 ", &version);

    if (version > 0 && result > 0)
    {
        packageValid = 1;
        packageVersion = version;
        packageSize = result;
    }
    else
    {
        packageValid = 0;
        packageVersion = -1;
        packageSize = 0;
    }

    juce::zeromem (response, sizeof (response));
    reportedPercent = 0.0;

    hidCtrl = new HidCtrl();
    hidCtrl->open (this, packageValid);

    setSize (420, 170);
}

MainComponent::~MainComponent()
{
    // A quit asked for by the system (not through our buttons) can arrive
    // while a transfer runs; the worker writes through hidCtrl, so it must be
    // gone before anything it uses is deleted.
    endWorkerNow();

    for (auto** child : { (juce::Component**) &langs, (juce::Component**) &progressBar,
                          (juce::Component**) &okButton, (juce::Component**) &cancelButton })
    {
        delete *child;
        *child = nullptr;
    }

    delete langLookAndFeel;
    langLookAndFeel = nullptr;
    delete progressLookAndFeel;
    progressLookAndFeel = nullptr;

    if (hidCtrl != nullptr)
        hidCtrl->close();

    delete hidCtrl;
    hidCtrl = nullptr;

    deleteImageStore();
    deleteTextTable();
}

void MainComponent::endWorkerNow()
{
    while (isThreadRunning())
    {
        wakeWorkerWithEmptyAnswer();
        waitForThreadToExit (10);
    }
}

// The worker reads the answer under stateLock; every write of it takes the
// same lock, so the worker never sees half of one answer and half of the next.
void MainComponent::wakeWorkerWithEmptyAnswer()
{
    const juce::ScopedLock sl (stateLock);
    juce::zeromem (response, sizeof (response));
    responseEvent.signal();
}

//==============================================================================
void MainComponent::requestState (ScreenState requested)
{
    const juce::ScopedLock sl (stateLock);
    pendingState = requested;
    triggerAsyncUpdate();
}

void MainComponent::setState (ScreenState requested)
{
    if (state != SelectLanguage && packageValid == 0)
        return;

    if (state == Complete || state == Failed)
        return;

    state = requested;
    buildScreen();
}

void MainComponent::handleAsyncUpdate()
{
    // On the language screen a request is left where it is; the next request
    // overwrites it before anything reads it again.
    if (! (state > 0))
        return;

    const juce::ScopedLock sl (stateLock);

    if (pendingState != -1)
        setState (pendingState);

    pendingState = -1;
}

//==============================================================================
void MainComponent::buttonClicked (juce::Button* clicked)
{
    if (clicked == okButton)
    {
        if (state == SelectLanguage)
        {
            if (hidCtrl->connected != 0)
            {
                deviceVersion = hidCtrl->firmwareVersion;
                setState (Ready);
            }
            else
            {
                deviceVersion = -1;
                setState (NotRecognized);
            }
        }
        else if (state == Ready && packageValid == 1)
        {
            // The worker asks for Updating itself, before its first report.
            responseEvent.reset();
            startThread();
        }
        else
        {
            stopAndQuit();
        }
    }
    else if (clicked == cancelButton)
    {
        stopAndQuit();
    }
}

void MainComponent::comboBoxChanged (juce::ComboBox* changed)
{
    if (changed != langs)
        return;

    auto* texts = getTextTable();
    const int index = langs->getSelectedId() - 1;

    if (index != texts->currentLanguage)
        texts->selectLanguage (index);

    buildScreen();
}

void MainComponent::stopAndQuit()
{
    wakeWorkerWithEmptyAnswer();
    stopThread (-1);

    if (auto* app = juce::JUCEApplicationBase::getInstance())
        app->systemRequestedQuit();
}

//==============================================================================
void MainComponent::deviceRemoved()
{
    deviceVersion = -1;

    if (state == Updating)
        wakeWorkerWithEmptyAnswer();
    else
    {
        requestState (NotRecognized);
    }
}

void MainComponent::deviceArrived()
{
    deviceVersion = hidCtrl->firmwareVersion;

    if (state == Updating)
        wakeWorkerWithEmptyAnswer();
    else
    {
        requestState (Ready);
    }
}

void MainComponent::inputReceived()
{
    const int n = juce::jmin (hidCtrl->inputLength, (int) sizeof (response));

    if (n <= 0)
        return;

    const juce::ScopedLock sl (stateLock);
    std::memcpy (response, hidCtrl->input, (size_t) n);

    if (state == Updating)
        responseEvent.signal();
}

//==============================================================================
void MainComponent::paint (juce::Graphics& g)
{
    g.fillAll (backgroundColour);

    if ((state != SelectLanguage && packageValid == 0) || state == NotRecognized || state == Failed)
        if (auto* image = getImageStore()->getImage (0))
            g.drawImage (*image, juce::Rectangle<float> (20.0f, 15.0f, 64.0f, 64.0f),
                         juce::RectanglePlacement::stretchToFit);

    g.setColour (juce::Colours::black);
    screenText.draw (g);
}

void MainComponent::resized()
{
    buildScreen();

    const int w = getWidth();
    const int h = getHeight();
    const int y = (h - 20) / 2;

    langs->setBounds (20, y, w - 40, 20);
    progressBar->setBounds (20, y, w - 40, 20);

    if (okButton->isVisible())
    {
        okButton->setBounds (w - 120, h - 40, 100, 20);
        cancelButton->setBounds (w - 230, h - 40, 100, 20);
    }
    else
    {
        cancelButton->setBounds (w - 120, h - 40, 100, 20);
    }
}
