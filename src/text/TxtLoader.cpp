#include "text/TxtLoader.h"
#include "text/TextBlocks.h"
#include "platform/Locales.h"

#include <cstdio>
#include <cstring>

const juce::uint16 languageIds[12] = { 0x0409, 0x040c, 0x0407, 0x040a, 0x0410, 0x0413,
                                       0x0419, 0x0816, 0x0804, 0x0404, 0x0412, 0x0411 };

static TxtLoader* textTable = nullptr;

//==============================================================================
TxtLoader::TxtLoader()
{
    currentLanguage = -1;
    parseBlock (baseBlock.data, baseBlock.length, TextSection::FONT_WIN, fonts, numLanguages);
    parseBlock (baseBlock.data, baseBlock.length, TextSection::LANG, languageNames, numLanguages);
}

TxtLoader::~TxtLoader() = default;

const juce::String& TxtLoader::getCurrentFont() const
{
    return getFont (currentLanguage);
}

const juce::String& TxtLoader::getFont (int index) const
{
    return (unsigned) index < (unsigned) numLanguages ? fonts[index] : emptyText;
}

const juce::String& TxtLoader::getLanguageName (int index) const
{
    return (unsigned) index < (unsigned) numLanguages ? languageNames[index] : emptyText;
}

const juce::String& TxtLoader::getText (int index) const
{
    return (unsigned) index < (unsigned) TextCount ? texts[index] : emptyText;
}

void TxtLoader::selectLanguage (int index)
{
    if (index == currentLanguage || (unsigned) index >= (unsigned) numLanguages)
        return;

    currentLanguage = index;
    loadLanguage (index, TextSection::STR, texts, TextCount);
}

void TxtLoader::loadLanguage (int index, TextSection wanted, juce::String* slots, int max)
{
    if ((unsigned) index >= (unsigned) numLanguages)
        return;

    const auto& block = languageBlocks[index];
    parseBlock (block.data, block.length, wanted, slots, max);
}

//==============================================================================
void TxtLoader::parseBlock (const char* data, size_t length, TextSection wanted, juce::String* slots, int max)
{
    if (slots == nullptr)
        return;

    TextBlockParser::scan (data, length, wanted, max,
                           [] (void* context, int slot, const char* text, size_t textLength)
                           {
                               static_cast<juce::String*> (context)[slot]
                                   = juce::String (juce::CharPointer_UTF8 (text), juce::CharPointer_UTF8 (text + textLength));
                           },
                           slots);
}

void TxtLoader::unquoteLine (const char* line, char* out)
{
    TextBlockParser::unquoteLine (line, out);
}

//==============================================================================
static char lowerAscii (char c)
{
    return c >= 'A' && c <= 'Z' ? (char) (c - 'A' + 'a') : c;
}

bool onInstalledLocale (const char* localeId)
{
    if (localeId == nullptr)
        return false;

    // Two digits are needed; a shorter string names no language.
    const auto length = std::strlen (localeId);

    if (length < 2)
        return true;

    const auto* lastTwo = localeId + length - 2;
    auto* table = getTextTable();

    for (int i = 1; i < TxtLoader::numLanguages; ++i)
    {
        char digits[3];
        std::snprintf (digits, sizeof (digits), "%02x", (unsigned) (languageIds[i] & 0xff));

        if (lowerAscii (lastTwo[0]) == digits[0] && lowerAscii (lastTwo[1]) == digits[1])
            table->available[i] = 1;
    }

    return true;
}

int TxtLoader::chooseDefaultLanguage()
{
    available[0] = 1;

    for (int i = 1; i < numLanguages; ++i)
        available[i] = 0;

    Locales::enumInstalledLocales (onInstalledLocale);

    const juce::uint16 id = Locales::getUserDefaultLangId();

    if ((id & 0xff) == 0x04)
    {
        if (id == 0x0804)
            return available[8] != 0 ? 8 : 0;

        if (id == 0x0404 || id == 0x0c04 || id == 0x1404 || id == 0x1004 || id == 0x7c04)
            return available[9] != 0 ? 9 : 0;

        return 0;
    }

    for (int i = 0; i < numLanguages; ++i)
        if ((languageIds[i] & 0xff) == (id & 0xff))
            return available[i] != 0 ? i : 0;

    return 0;
}

//==============================================================================
void createTextTable()
{
    if (textTable != nullptr)
        return;

    // The table must be the process-wide one before the locale scan, which
    // reaches it through getTextTable().
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
    auto* table = textTable;
    textTable = nullptr;
    delete table;
}
