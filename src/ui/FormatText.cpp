#include "ui/FormatText.h"

#include <cstdio>
#include <vector>

namespace
{
    // printf of one conversion, into a buffer of exactly the needed size.
    template <typename Value>
    std::string formatOne (const std::string& conversion, Value value)
    {
        const int length = std::snprintf (nullptr, 0, conversion.c_str(), value);

        if (length <= 0)
            return {};

        std::vector<char> buffer ((size_t) length + 1);
        std::snprintf (buffer.data(), buffer.size(), conversion.c_str(), value);
        return std::string (buffer.data(), (size_t) length);
    }
}

juce::String formatTextWith (const juce::String& format, std::initializer_list<FormatArgument> arguments)
{
    const std::string in (format.toRawUTF8());
    std::string out;
    auto next = arguments.begin();

    for (size_t i = 0; i < in.size();)
    {
        if (in[i] != '%')
        {
            out += in[i++];
            continue;
        }

        if (i + 1 < in.size() && in[i + 1] == '%')
        {
            out += '%';
            i += 2;
            continue;
        }

        // % [flags] [width] [.precision] conversion; no '*' widths.
        size_t j = i + 1;

        while (j < in.size() && std::string ("-+ #0").find (in[j]) != std::string::npos) ++j;
        while (j < in.size() && in[j] >= '0' && in[j] <= '9') ++j;

        if (j < in.size() && in[j] == '.')
        {
            ++j;
            while (j < in.size() && in[j] >= '0' && in[j] <= '9') ++j;
        }

        if (j >= in.size())
        {
            out += in.substr (i);
            break;
        }

        const char kind = in[j];
        const std::string conversion = in.substr (i, j + 1 - i);
        const bool hasArgument = next != arguments.end();

        switch (kind)
        {
            case 'd': case 'i': case 'u': case 'x': case 'X':
                if (hasArgument && next->isNumber)
                    out += formatOne (conversion, next->number);
                if (hasArgument) ++next;
                break;

            case 's':
                if (hasArgument && ! next->isNumber)
                    out += formatOne (conversion, next->text.c_str());
                if (hasArgument) ++next;
                break;

            default:
                // Not a conversion we fill: keep it as written.
                out += conversion;
                break;
        }

        i = j + 1;
    }

    return juce::String::fromUTF8 (out.data(), (int) out.size());
}
