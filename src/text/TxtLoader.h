#pragma once

#include <juce_core/juce_core.h>

// Indexes of the 25 screen texts of every language.
enum TextIndex
{
    TextEmpty = 0,
    TextFamilyName,
    TextModelName,
    TextTitle,
    TextOk,
    TextStart,
    TextCancel,
    TextClose,
    TextLanguageHeading,
    TextSelectLanguage,
    TextPackageError,
    TextNotConnected,
    TextReadyHeading,
    TextCurrentVersion,
    TextUpdateVersion,
    TextUpdating,
    TextPleaseWait,
    TextComplete,
    TextErrorOccurred,
    TextUpdateFailed,
    TextNotRecognized,
    TextStep1Connect,
    TextStep2UpdateMode,
    TextStep3Restart,
    TextUpdateModeHint,
    TextCount
};

// The text table: language names, fonts, which languages are offered, and
// the texts of the current language. (Placeholder: English only.)
class TxtLoader
{
public:
    TxtLoader();
    virtual ~TxtLoader();

    const juce::String& getCurrentFont() const;
    const juce::String& getFont (int index) const;
    const juce::String& getLanguageName (int index) const;
    const juce::String& getText (int index) const;

    void selectLanguage (int index);
    int chooseDefaultLanguage();

    juce::int32 currentLanguage = -1;
    juce::String emptyText;
    juce::uint8 available[12] {};
    juce::String fonts[12];
    juce::String languageNames[12];
    juce::String texts[TextCount];

    JUCE_DECLARE_NON_COPYABLE (TxtLoader)
};

void createTextTable();
TxtLoader* getTextTable();
void deleteTextTable();
