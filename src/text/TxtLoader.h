#pragma once

#include <juce_core/juce_core.h>
#include "text/TextBlockParser.h"

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

// The Windows language identifier of each language index: 0 English,
// 1 French, 2 German, 3 Spanish, 4 Italian, 5 Dutch, 6 Russian,
// 7 Portuguese, 8 Chinese (Simplified), 9 Chinese (Traditional),
// 10 Korean, 11 Japanese.
extern const juce::uint16 languageIds[12];

// The text table: the language names and fonts of all twelve languages,
// which of them may be offered, and the 25 texts of the current language.
// One exists per process (createTextTable / getTextTable / deleteTextTable);
// only the message thread uses it.
class TxtLoader
{
public:
    static constexpr int numLanguages = 12;
    static constexpr int lineBufferSize = TextBlockParser::lineBufferSize;

    // Loads the fonts and language names; selects no language.
    TxtLoader();
    virtual ~TxtLoader();

    // Out of range, each yields emptyText. The references stay valid as long
    // as the table; their content changes when another language is selected.
    const juce::String& getCurrentFont() const;
    const juce::String& getFont (int index) const;
    const juce::String& getLanguageName (int index) const;
    const juce::String& getText (int index) const;

    // Makes a language current and loads its texts, unless it is current
    // already. An index outside 0 to 11 changes nothing.
    void selectLanguage (int index);

    // Decides which languages may be offered (available) from the installed
    // locales, and returns the language to start in, from the user's
    // language: always an available index, English when in doubt.
    int chooseDefaultLanguage();

    // Parses the block of a language into slots; nothing for an index
    // outside 0 to 11.
    void loadLanguage (int index, TextSection wanted, juce::String* slots, int max);

    // Fills slots[0 .. max-1] in order with the entries of the wanted
    // section(s) of a block; slots without an entry keep their content.
    // Reads no byte outside data[0 .. length-1]. A line longer than 2047
    // bytes is cut to its first 2047 bytes.
    static void parseBlock (const char* data, size_t length, TextSection wanted, juce::String* slots, int max);

    // Writes the text between the first double quote of a NUL-terminated
    // entry line and the next unescaped one (or the line's end) into out,
    // resolving the escapes, NUL-terminated. out must hold as many bytes as
    // the line. A line without any double quote yields the empty text.
    static void unquoteLine (const char* line, char* out);

    juce::int32 currentLanguage = -1;
    juce::String emptyText;
    juce::uint8 available[numLanguages] {};
    juce::String fonts[numLanguages];
    juce::String languageNames[numLanguages];
    juce::String texts[TextCount];

    JUCE_DECLARE_NON_COPYABLE (TxtLoader)
};

// Handed each installed locale (eight hexadecimal digits, the last two the
// low byte of its language identifier) while chooseDefaultLanguage scans;
// marks the matching languages available on the process-wide table.
// Returns false, stopping the scan, for a null string.
bool onInstalledLocale (const char* localeId);

// The process-wide table.
void createTextTable();
TxtLoader* getTextTable();   // creates the table when there is none
void deleteTextTable();
