#pragma once

#include <juce_core/juce_core.h>
#include <initializer_list>

// One value inserted into a text: a number for "%d", a text for "%s".
struct FormatArgument
{
    FormatArgument (int value) : isNumber (true), number (value) {}
    FormatArgument (const juce::String& value) : isNumber (false), text (value.toStdString()) {}
    FormatArgument (const char* value) : isNumber (false), text (value != nullptr ? value : "") {}

    bool isNumber;
    int number = 0;
    std::string text;   // UTF-8
};

// printf-style formatting of a UTF-8 text with "%s", "%d", "%02d" and the
// like. The format comes from the translations, so it is never trusted to
// match the arguments: a conversion without an argument of its kind inserts
// nothing, and surplus arguments are ignored.
juce::String formatTextWith (const juce::String& format, std::initializer_list<FormatArgument> arguments);

template <typename... Arguments>
juce::String formatText (const juce::String& format, const Arguments&... arguments)
{
    return formatTextWith (format, { FormatArgument (arguments)... });
}
