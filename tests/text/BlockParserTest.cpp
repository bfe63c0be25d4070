#include <gtest/gtest.h>

#include "text/TxtLoader.h"

#include <cstring>
#include <string>
#include <vector>

namespace
{
    const std::string bom = "\xEF\xBB\xBF";

    struct ParserCase
    {
        const char* name;
        std::string block;
        TextSection wanted;
        int max;
        std::vector<const char*> expected;   // the slots after the parse; "-" for untouched
    };

    std::vector<juce::String> parse (const std::string& block, size_t length, TextSection wanted, int max, size_t slots)
    {
        std::vector<juce::String> result (slots, "-");
        TxtLoader::parseBlock (block.data(), length, wanted, result.data(), max);
        return result;
    }

    std::string replaceAll (std::string text, const std::string& from, const std::string& to)
    {
        for (size_t at = text.find (from); at != std::string::npos; at = text.find (from, at + to.size()))
            text.replace (at, from.size(), to);

        return text;
    }

    std::string entries (int count, const std::string& prefix)
    {
        std::string lines;

        for (int i = 0; i < count; ++i)
            lines += "\"" + prefix + std::to_string (i) + "\"\r\n";

        return lines;
    }
}

TEST (BlockParser, Cases)
{
    const std::string base = bom + "\r\n:FONT_WIN\r\n\r\n\"Arial\"\r\n\"YaHei\"\r\n\r\n:FONT_MAC\r\n\r\n\"Mac1\"\r\n\"Mac2\"\r\n\r\n"
                                   ":LANG\r\n\r\n\"English\"\r\n\"Fran\xC3\xA7" "ais\"\r\n\r\n:EOF\r\n";
    const std::string texts = bom + "\r\n:STR\r\n\r\n\"\"\r\n\r\n\"one\"\r\n# a comment\r\n\r\n\"two\"\r\n\r\n:EOF\r\n\"after\"\r\n";

    const ParserCase cases[] =
    {
        { "fonts, not the other platform's", base, TextSection::FONT_WIN, 12, { "Arial", "YaHei", "-" } },
        { "language names",                  base, TextSection::LANG, 12, { "English", "Fran\xC3\xA7" "ais", "-" } },
        { "blank and comment lines take no slot, the empty entry does; nothing after EOF",
          texts, TextSection::STR, 25, { "", "one", "two", "-" } },
        { "lone LF line ends", replaceAll (texts, "\r\n", "\n"), TextSection::STR, 25, { "", "one", "two", "-" } },
        { "lone CR line ends", replaceAll (texts, "\r\n", "\r"), TextSection::STR, 25, { "", "one", "two", "-" } },
        { "a longer word holding STR opens the section",
          ":STRINGS\r\n\"a\"\r\n", TextSection::STR, 25, { "a", "-" } },
        { "LANG and EOF on one marker line end the block",
          ":STR\r\n\"a\"\r\n:LANG EOF\r\n\"b\"\r\n", TextSection::STR, 25, { "a", "-" } },
        { "FONT_WIN wins over LANG on one marker line",
          ":LANG FONT_WIN\r\n\"a\"\r\n", TextSection::LANG, 25, { "-" } },
        { "a marker without a known word closes the section",
          ":STR\r\n\"a\"\r\n:OTHER\r\n\"b\"\r\n:STR\r\n\"c\"\r\n", TextSection::STR, 25, { "a", "c", "-" } },
        { "a marker on the byte-order mark line opens nothing",
          bom + ":STR\r\n\"a\"\r\n:STR\r\n\"b\"\r\n", TextSection::STR, 25, { "b", "-" } },
        { "two STR sections fill consecutive slots",
          ":STR\r\n\"a\"\r\n\"b\"\r\n:LANG\r\n\"x\"\r\n:STR\r\n\"c\"\r\n", TextSection::STR, 25, { "a", "b", "c", "-" } },
        { "entries beyond max are ignored",
          ":STR\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n", TextSection::STR, 2, { "a", "b", "-" } },
        { "words around the quotes are ignored; an unclosed quote runs to the line end",
          ":STR\r\n  \"quoted\" trailing words\r\nlabel \"open to the end\r\n", TextSection::STR, 25, { "quoted", "open to the end", "-" } },
        { "an entry without any quote is an empty text in its slot",
          ":STR\r\nno quote\r\n\"b\"\r\n", TextSection::STR, 25, { "", "b", "-" } },
        { "a block without EOF ends with its last byte",
          ":STR\r\n\"a\"\r\n\"b", TextSection::STR, 25, { "a", "b", "-" } },
        { "no section wanted stores nothing",
          "\"a\"\r\n:FONT_MAC\r\n\"b\"\r\n", TextSection::none, 25, { "-" } },
        { "the empty block", "", TextSection::STR, 25, { "-" } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto slots = parse (c.block, c.block.size(), c.wanted, c.max, c.expected.size());

        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ (slots[i], juce::String::fromUTF8 (c.expected[i])) << "slot " << i;
    }
}

TEST (BlockParser, CountsOfEntries)
{
    // 26 entries store the first 25; 24 leave the last slot as it was.
    const std::string block26 = ":STR\r\n" + entries (26, "e");
    const auto parsed26 = parse (block26, block26.size(), TextSection::STR, 25, 26);
    EXPECT_EQ (parsed26[24], "e24");
    EXPECT_EQ (parsed26[25], "-");

    const std::string block24 = ":STR\r\n" + entries (24, "f");
    const auto parsed24 = parse (block24, block24.size(), TextSection::STR, 25, 25);
    EXPECT_EQ (parsed24[23], "f23");
    EXPECT_EQ (parsed24[24], "-");
}

TEST (BlockParser, ReadsNothingBeyondTheBlockOrTheLineBuffer)
{
    // The length ends the block mid-line, before the bytes that follow it.
    const std::string block = ":STR\r\n\"a\"\r\n\"bc\"\r\n\"d\"\r\n";
    const auto cut = parse (block, block.find ("c\""), TextSection::STR, 25, 3);
    EXPECT_EQ (cut[0], "a");
    EXPECT_EQ (cut[1], "b");
    EXPECT_EQ (cut[2], "-");

    // A line beyond 2047 bytes keeps its first 2047; the next line is read as usual.
    const std::string longLine = "\"" + std::string (3000, 'x') + "\"";
    const std::string withLongLine = ":STR\r\n" + longLine + "\r\n\"next\"\r\n";
    const auto parsed = parse (withLongLine, withLongLine.size(), TextSection::STR, 25, 3);
    EXPECT_EQ (parsed[0], juce::String (std::string (2046, 'x')));
    EXPECT_EQ (parsed[1], "next");
    EXPECT_EQ (parsed[2], "-");
}

TEST (BlockParser, Unquoting)
{
    struct UnquoteCase { const char* line; const char* text; };

    const UnquoteCase cases[] =
    {
        { "\"plain\"",                      "plain" },
        { "\"a\\nb\\rc\\td\"",              "a\nb\rc\td" },
        { "\"say \\\"hi\\\" now\"",         "say \"hi\" now" },
        { "\"back\\\\slash\"",              "back\\slash" },
        { "\"\\q and \\x\"",                "\\q and \\x" },
        { "\"ends in a backslash\\",        "ends in a backslash\\" },
        { "\"escaped quote at the end\\\"", "escaped quote at the end\"" },
        { "\"\"",                           "" },
        { "no quote at all",                "" },
        { "x\"%s and %d\" y",               "%s and %d" },
    };

    for (const auto& c : cases)
    {
        char out[TxtLoader::lineBufferSize];
        std::memset (out, '#', sizeof (out));
        TxtLoader::unquoteLine (c.line, out);
        EXPECT_STREQ (out, c.text) << c.line;
        EXPECT_LE (std::strlen (out), std::strlen (c.line));
    }
}
