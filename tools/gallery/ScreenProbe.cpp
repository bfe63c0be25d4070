#include "ScreenProbe.h"
#include "ui/LangLookAndFeel.h"

const MainComponentProbe::Screen MainComponentProbe::screens[7] =
{
    { "SelectLanguage", SelectLanguage, true },
    { "NotRecognized",  NotRecognized,  true },
    { "Ready",          Ready,          true },
    { "Updating",       Updating,       true },
    { "Complete",       Complete,       true },
    { "Failed",         Failed,         true },
    { "PackageError",   NotRecognized,  false },
};

void MainComponentProbe::show (MainComponent& component, const Screen& screen)
{
    component.packageValid = screen.packageValid ? 1 : 0;
    component.packageVersion = screen.packageValid ? 110 : -1;
    component.deviceVersion = 105;
    component.progress = 0.45;
    component.state = screen.state;
    component.buildScreen();
}

juce::LookAndFeel& MainComponentProbe::languageLook (MainComponent& c)
{
    return *c.langLookAndFeel;
}
