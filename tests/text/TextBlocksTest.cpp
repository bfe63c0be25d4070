// Checks the twelve shipped translations for the faults that would show on
// screen or break formatting: missing or surplus entries, placeholders in
// another order than the screens pass their arguments, line breaks that do
// not match the boxes the screens lay them out in.
#include <gtest/gtest.h>

#include "text/TextBlocks.h"
#include "text/TxtLoader.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{
    const char* const languageCodes[12] = { "en", "fr", "de", "es", "it", "nl", "ru", "pt", "zh-Hans", "zh-Hant", "ko", "ja" };

    bool namesButtonsFirst (int language) { return language >= 8; }

    // What the screens insert into a text, in their order: n the model name,
    // b a button name ("[%s]"), d an integer, 2 a two-digit integer.
    std::string expectedArguments (int language, int text)
    {
        switch (text)
        {
            case TextNotConnected:
            case TextReadyHeading:
            case TextUpdating:
            case TextNotRecognized:
            case TextStep1Connect:      return "n";
            case TextComplete:          return language == 7 || language == 10 ? "" : "n";
            case TextCurrentVersion:
            case TextUpdateVersion:     return "d2";
            case TextStep2UpdateMode:
            case TextUpdateModeHint:    return namesButtonsFirst (language) ? "bbn" : "nbb";
            default:                    return "";
        }
    }

    // The conversions of a printf format, classified as above; anything
    // else a formatting call could misread comes out as '?'.
    std::string conversionsOf (const std::string& format)
    {
        std::string found;

        for (size_t i = 0; i < format.size(); ++i)
        {
            if (format[i] != '%')
                continue;

            if (format.compare (i, 2, "%s") == 0)
            {
                const bool bracketed = i > 0 && format[i - 1] == '[' && format.compare (i + 2, 1, "]") == 0;
                found += bracketed ? 'b' : 'n';
                ++i;
            }
            else if (format.compare (i, 2, "%d") == 0)    { found += 'd'; ++i; }
            else if (format.compare (i, 4, "%02d") == 0)  { found += '2'; i += 3; }
            else                                          { found += '?'; }
        }

        return found;
    }

    // Explicit line breaks of the three long instructions, by language.
    const int step1Breaks[12] = { 1, 0, 1, 1, 1, 0, 0, 1, 0, 0, 0, 1 };
    const int step2Breaks[12] = { 0, 2, 2, 2, 1, 1, 2, 2, 1, 1, 0, 1 };
    const int hintBreaks[12]  = { 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1 };

    int expectedBreaks (int language, int text)
    {
        return text == TextStep1Connect    ? step1Breaks[language]
             : text == TextStep2UpdateMode ? step2Breaks[language]
             : text == TextUpdateModeHint  ? hintBreaks[language]
             : 0;
    }

    std::vector<juce::String> parseLanguage (int language, int slots)
    {
        std::vector<juce::String> texts ((size_t) slots, "\x01untouched");
        const auto& block = languageBlocks[language];
        TxtLoader::parseBlock (block.data, block.length, TextSection::STR, texts.data(), slots);
        return texts;
    }

    // Only called once the conversions are known to be these.
    std::string formatWithScreenArguments (int language, const juce::String& text)
    {
        char buffer[1024];
        const auto format = text.toStdString();

        if (namesButtonsFirst (language))
            std::snprintf (buffer, sizeof (buffer), format.c_str(), "SHIFT", "SYNC", "KMX-Q7");
        else
            std::snprintf (buffer, sizeof (buffer), format.c_str(), "KMX-Q7", "SHIFT", "SYNC");

        return buffer;
    }

    juce::String utf8 (const char* text) { return juce::String::fromUTF8 (text); }
}

TEST (TextBlocks, EveryBlockUsesCrLfAndEndsWithEof)
{
    EXPECT_EQ (baseBlock.length, 517u);

    std::vector<TextBlock> blocks { baseBlock };
    blocks.insert (blocks.end(), std::begin (languageBlocks), std::end (languageBlocks));

    for (size_t b = 0; b < blocks.size(); ++b)
    {
        const std::string bytes (blocks[b].data, blocks[b].length);
        SCOPED_TRACE ("block " + std::to_string (b));

        EXPECT_EQ (bytes.compare (0, 5, "\xEF\xBB\xBF\r\n"), 0) << "byte-order mark on a line of its own";
        EXPECT_TRUE (bytes.size() >= 6 && bytes.compare (bytes.size() - 6, 6, ":EOF\r\n") == 0);

        for (size_t i = 0; i < bytes.size(); ++i)
        {
            if (bytes[i] == '\r')
                ASSERT_TRUE (i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at " << i;
            else if (bytes[i] == '\n')
                ASSERT_TRUE (i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
        }
    }
}

TEST (TextBlocks, EveryLanguageHasItsTwentyFiveTextsWithTheScreensPlaceholdersAndBreaks)
{
    for (int language = 0; language < 12; ++language)
    {
        SCOPED_TRACE (languageCodes[language]);

        // One slot more than needed shows a surplus entry; a missing one
        // leaves a slot untouched.
        const auto texts = parseLanguage (language, TextCount + 1);

        EXPECT_EQ (texts[TextCount], "\x01untouched") << "more than 25 entries";
        EXPECT_EQ (texts[TextEmpty], "");
        EXPECT_EQ (texts[TextFamilyName], "KMX");
        EXPECT_EQ (texts[TextModelName], "KMX-Q7");

        for (int text = TextTitle; text < TextCount; ++text)
        {
            SCOPED_TRACE ("text " + std::to_string (text));
            const auto& t = texts[(size_t) text];

            ASSERT_NE (t, "\x01untouched") << "fewer than 25 entries";
            EXPECT_TRUE (t.trim().isNotEmpty());
            EXPECT_EQ (t, t.trim()) << "no blanks around a text";
            EXPECT_FALSE (t.containsAnyOf ("\r\t")) << t;

            const auto args = expectedArguments (language, text);
            ASSERT_EQ (conversionsOf (t.toStdString()), args) << t;
            EXPECT_EQ (t.length() - t.removeCharacters ("\n").length(), expectedBreaks (language, text)) << t;

            // Formatted as the screens format it, the inserted names appear
            // in the order the language names them.
            if (args.find ('b') != std::string::npos)
            {
                const auto shown = formatWithScreenArguments (language, t);
                const auto model = shown.find ("KMX-Q7"), shift = shown.find ("[SHIFT]"), sync = shown.find ("[SYNC]");

                ASSERT_TRUE (model != std::string::npos && shift != std::string::npos && sync != std::string::npos) << shown;
                EXPECT_LT (shift, sync) << shown;
                EXPECT_EQ (namesButtonsFirst (language), sync < model) << shown;
            }
        }
    }
}

TEST (TextBlocks, VersionTextsKeepTheirWording)
{
    struct Wording { int language; const char* current; const char* update; };

    const Wording fixed[] =
    {
        { 4,  "Versione attualmente installata: %d.%02d", "Versione aggiornata: %d.%02d" },
        { 6,  "Настоящая версия: Версия %d.%02d", "Обновленная версия: Версия %d.%02d" },
        { 9,  "目前版本： %d.%02d版", "更新版本： %d.%02d版" },
        { 11, "現在のバージョン　：　Ver%d.%02d", "更新バージョン　：　Ver%d.%02d" },
    };

    for (const auto& w : fixed)
    {
        const auto texts = parseLanguage (w.language, TextCount);
        EXPECT_EQ (texts[TextCurrentVersion], utf8 (w.current)) << languageCodes[w.language];
        EXPECT_EQ (texts[TextUpdateVersion], utf8 (w.update)) << languageCodes[w.language];
    }

    for (int language : { 0, 1, 2, 3, 5, 7, 8, 10 })
    {
        const auto texts = parseLanguage (language, TextCount);
        EXPECT_TRUE (texts[TextCurrentVersion].endsWith ("Ver. %d.%02d")) << languageCodes[language];
        EXPECT_TRUE (texts[TextUpdateVersion].endsWith ("Ver. %d.%02d")) << languageCodes[language];
    }

    // Through the format the screens use, 105 reads 1.05.
    const auto english = parseLanguage (0, TextCount);
    char shown[64];
    std::snprintf (shown, sizeof (shown), english[TextCurrentVersion].toRawUTF8(), 105 / 100, 105 % 100);
    EXPECT_STREQ (shown, "Current Version: Ver. 1.05");
}

TEST (TextBlocks, FixedTextsStandAsGiven)
{
    struct Fixed { int language; int text; const char* expected; };

    const Fixed fixed[] =
    {
        { 7,  TextComplete, "A versão foi actualizada." },
        { 10, TextComplete, "버전 업데이트 되었습니다." },
        { 8,  TextStep2UpdateMode, "2. 通过按电源按钮，同时按左卡座上的[%s]按钮\n和[%s]按钮，以更新模式启动%s。" },
        { 8,  TextUpdateModeHint, "通过按电源按钮，同时按左卡座上的[%s]按钮和[%s]按钮，以更新模式启动%s。" },
        { 9,  TextStep2UpdateMode, "2. 按下電源開關的同時按住左蓋板上的[%s]鍵\n和[%s]鍵，就會以更新模式開啟%s。" },
        { 9,  TextUpdateModeHint, "按下電源開關的同時按住左蓋板上的[%s]鍵和[%s]鍵，就會以更新模式開啟%s。" },
        { 10, TextStep2UpdateMode, "2. 왼쪽 DECK의 [%s]와 [%s] 버튼을 누른 상태에서 전원 버튼을 눌러, %s를 업데이트 모드로 기동하십시오." },
        { 10, TextUpdateModeHint, "왼쪽 DECK의 [%s]와 [%s] 버튼을 누른 상태에서 전원 버튼을 눌러, %s를 업데이트 모드로 기동하십시오." },
        { 11, TextStep2UpdateMode, "2. 左DECKの[%s]と[%s]を押しながら電源ボタンを\n押し、%sをアップデートモードで起動してください。" },
        { 11, TextUpdateModeHint, "左DECKの[%s]と[%s]を押しながら電源ボタンを押し、\n%sをアップデートモードで起動してください。" },
    };

    for (const auto& f : fixed)
        EXPECT_EQ (parseLanguage (f.language, TextCount)[(size_t) f.text], utf8 (f.expected))
            << languageCodes[f.language] << " text " << f.text;

    const char* const english[TextCount] =
    {
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

    const auto texts = parseLanguage (0, TextCount);

    for (int text = 0; text < TextCount; ++text)
        EXPECT_EQ (texts[(size_t) text], juce::String (english[text])) << "text " << text;
}
