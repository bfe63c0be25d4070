#include "text/TxtLoader.h"

static TxtLoader* textTable = nullptr;

static const char* const englishTexts[TextCount] = {
    "", "KMX", "KMX-Q7", "Updater Program", "OK", "Start", "Cancel", "Close",
    "Language Selections", "Please select a language.", "There is an error in the update file.",
    "Your %s is not connected.", "Updates the version of your %s firmware.",
    "Current Version: Ver. %d.%02d", "Update Version: Ver. %d.%02d", "Updating your %s firmware.",
    "Please wait for a few moments until the update process is complete.",
    "The update of your version of the %s firmware is now complete.", "An error has occurred.",
    "It was not possible to update the program.", "Your %s is not recognized.",
    "1. Connect the USB-A terminal on your %s and \nyour computer using a USB cable.",
    "2. Start your %s in update mode by pressing the power button while pressing the [%s] button and the [%s] button on the left deck.",
    "3. Restart this program.",
    "Start your %s in update mode by pressing the power button while pressing the [%s] button and the [%s] button on the left deck."
};

TxtLoader::TxtLoader()
{
    for (int i = 0; i < 12; ++i)
        fonts[i] = "Arial";

    languageNames[0] = "English";
}

TxtLoader::~TxtLoader() = default;

const juce::String& TxtLoader::getCurrentFont() const { return getFont (currentLanguage); }
const juce::String& TxtLoader::getFont (int index) const { return (unsigned) index < 12u ? fonts[index] : emptyText; }
const juce::String& TxtLoader::getLanguageName (int index) const { return (unsigned) index < 12u ? languageNames[index] : emptyText; }
const juce::String& TxtLoader::getText (int index) const { return (unsigned) index < (unsigned) TextCount ? texts[index] : emptyText; }

void TxtLoader::selectLanguage (int index)
{
    if (index == currentLanguage)
        return;

    currentLanguage = index;

    for (int i = 0; i < TextCount; ++i)
        texts[i] = juce::String::fromUTF8 (englishTexts[i]);
}

int TxtLoader::chooseDefaultLanguage()
{
    available[0] = 1;
    return 0;
}

void createTextTable()
{
    if (textTable != nullptr)
        return;

    textTable = new TxtLoader();
    textTable->selectLanguage (textTable->chooseDefaultLanguage());
}

TxtLoader* getTextTable()
{
    if (textTable == nullptr)
        createTextTable();

    return textTable;
}

void deleteTextTable()
{
    delete textTable;
    textTable = nullptr;
}
