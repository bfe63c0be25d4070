#include "text/TextBlockParser.h"

#include <cstring>

namespace TextBlockParser
{
    void scan (const char* data, size_t length, TextSection wanted, int max, EntrySink sink, void* context)
    {
        if (data == nullptr || sink == nullptr)
            return;

        char line[lineBufferSize];
        char text[lineBufferSize];

        auto section = TextSection::none;
        int stored = 0;
        size_t start = 0;

        while (start < length)
        {
            // A line ends at the later of the first CR and the first LF: CR LF
            // ends at its LF, and a block of lone LFs or lone CRs has no byte
            // of the other kind to find.
            const auto rest = length - start;
            const auto* cr = static_cast<const char*> (std::memchr (data + start, '\r', rest));
            const auto* lf = static_cast<const char*> (std::memchr (data + start, '\n', rest));

            size_t lineLength, next;

            if (cr != nullptr || lf != nullptr)
            {
                const auto* end = (cr == nullptr || (lf != nullptr && lf > cr)) ? lf : cr;
                const auto lineEnd = (size_t) (end - data);
                lineLength = lineEnd - start - (cr != nullptr && lf != nullptr ? 1 : 0);
                next = lineEnd + 1;
            }
            else
            {
                lineLength = rest;
                next = length;
            }

            // Longer lines are outside the format; keep what fits.
            if (lineLength > (size_t) lineBufferSize - 1)
                lineLength = (size_t) lineBufferSize - 1;

            std::memcpy (line, data + start, lineLength);
            line[lineLength] = 0;
            start = next;

            const char first = line[0];

            if (first == 0 || first == '\r' || first == '\n' || first == '#')
                continue;

            if (first == ':')
            {
                if (std::strstr (line, "EOF") != nullptr)
                    return;

                if (std::strstr (line, "FONT_WIN") != nullptr)   section = TextSection::FONT_WIN;
                else if (std::strstr (line, "LANG") != nullptr)  section = TextSection::LANG;
                else if (std::strstr (line, "STR") != nullptr)   section = TextSection::STR;
                else                                             section = TextSection::none;

                continue;
            }

            if (section != wanted || wanted == TextSection::none || stored >= max)
                continue;

            unquoteLine (line, text);
            sink (context, stored++, text, std::strlen (text));
        }
    }

    void unquoteLine (const char* line, char* out)
    {
        const char* in = std::strchr (line, '"');

        if (in == nullptr)
        {
            *out = 0;
            return;
        }

        ++in;

        while (*in != 0 && *in != '"')
        {
            if (*in == '\\')
            {
                const char escaped = in[1] == 'r'  ? '\r'
                                   : in[1] == 'n'  ? '\n'
                                   : in[1] == 't'  ? '\t'
                                   : in[1] == '"'  ? '"'
                                   : in[1] == '\\' ? '\\'
                                   : 0;

                if (escaped != 0)
                {
                    *out++ = escaped;
                    in += 2;
                    continue;
                }
            }

            *out++ = *in++;
        }

        *out = 0;
    }
}
