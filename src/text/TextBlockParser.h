#pragma once

#include <cstddef>

// The sections of a text block; entries outside a known section are ignored.
enum class TextSection
{
    none,
    FONT_WIN,   // Windows font names, by language index
    LANG,       // language names, by language index
    STR         // screen texts, by text index
};

// The byte-level reading of a text block: lines, markers, entries, escapes.
// It knows nothing of strings or the toolkit; TxtLoader decodes what it finds.
namespace TextBlockParser
{
    constexpr int lineBufferSize = 2048;   // the longest line is 2047 bytes

    // Receives entry number slot (0 .. max-1) of the wanted section: its
    // unescaped bytes, NUL-terminated, valid only during the call.
    using EntrySink = void (*) (void* context, int slot, const char* text, size_t length);

    // Hands the entries of the wanted section(s) of a block to the sink, in
    // order, at most max of them. Reads no byte outside data[0 .. length-1];
    // a line longer than 2047 bytes is cut to its first 2047 bytes.
    void scan (const char* data, size_t length, TextSection wanted, int max, EntrySink sink, void* context);

    // Writes the text between the first double quote of a NUL-terminated
    // entry line and the next unescaped one (or the line's end) into out,
    // resolving the escapes, NUL-terminated. out must hold as many bytes as
    // the line. A line without any double quote yields the empty text.
    void unquoteLine (const char* line, char* out);
}
