// Writes every screen of every language as <out>/<screen>_<language>.png at
// the size the component has inside the window (426 x 176), and, when a
// second folder is given, copies the few pictures the README shows there.
#include "ScreenProbe.h"
#include "text/TxtLoader.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <iostream>

namespace
{
    const char* const languageCodes[12] =
    {
        "en", "fr", "de", "es", "it", "nl", "ru", "pt", "zh-Hans", "zh-Hant", "ko", "ja"
    };

    bool writePng (juce::Component& component, const juce::File& file)
    {
        const auto image = component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
        file.deleteFile();
        juce::FileOutputStream out (file);
        juce::PNGImageFormat png;
        return out.openedOk() && png.writeImageToStream (image, out);
    }

    // The bar glides toward its value; let it arrive.
    void settle()
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1200);
    }

    bool isReadmePicture (int language, const MainComponentProbe::Screen& screen)
    {
        const juce::String name (screen.name);

        switch (language)
        {
            case 0:  return name == "Ready" || name == "Updating" || name == "NotRecognized";
            case 6:  return name == "NotRecognized";
            case 11: return name == "Ready";
            default: return false;
        }
    }
}

int main (int argc, char** argv)
{
    if (argc < 2 || argc > 3)
    {
        std::cerr << "usage: gallery <out-folder> [<readme-folder>]\n";
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juce;

    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto out = cwd.getChildFile (argv[1]);
    const auto readme = argc == 3 ? cwd.getChildFile (argv[2]) : juce::File();

    if (! out.createDirectory() || (readme != juce::File() && ! readme.createDirectory()))
        return 1;

    // Offer every language, whatever this machine's locales, so that each
    // one's language screen shows its own name in the selector.
    createTextTable();
    for (auto& flag : getTextTable()->available)
        flag = 1;

    bool ok = true;
    {
        MainComponent component;
        component.setSize (426, 176);

        for (int language = 0; language < 12; ++language)
        {
            getTextTable()->selectLanguage (language);

            for (auto& screen : MainComponentProbe::screens)
            {
                MainComponentProbe::show (component, screen);
                component.resized();

                if (screen.state == Updating)
                    settle();

                const juce::String name = juce::String (screen.name) + "_" + languageCodes[language] + ".png";
                ok = writePng (component, out.getChildFile (name)) && ok;

                if (readme != juce::File() && isReadmePicture (language, screen) && screen.packageValid)
                    ok = out.getChildFile (name).copyFileTo (readme.getChildFile (name)) && ok;
            }
        }
    }   // the component deletes the text table

    return ok ? 0 : 1;
}
