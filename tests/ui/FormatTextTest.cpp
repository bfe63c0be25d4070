#include <gtest/gtest.h>

#include "ui/FormatText.h"

TEST (FormatText, FillsPrintfConversions)
{
    struct Case { juce::String expected, actual; };
    const auto ja = juce::String::fromUTF8 ("\xe6\x97\xa5\xe6\x9c\xac");
    const Case cases[] =
    {
        { "Ver. 1.23", formatText ("Ver. %d.%02d", 123 / 100, 123 % 100) },
        { "Ver. 0.05", formatText ("Ver. %d.%02d", 5 / 100, 5 % 100) },
        { "Ver. 1.10", formatText ("Ver. %d.%02d", 110 / 100, 110 % 100) },
        { "Your KMX-Q7 is not recognized.", formatText ("Your %s is not recognized.", juce::String ("KMX-Q7")) },
        { "[SHIFT] [SYNC] KMX-Q7", formatText ("[%s] [%s] %s", "SHIFT", "SYNC", juce::String ("KMX-Q7")) },
        { ja + "KMX", formatText (ja + "%s", "KMX") },
        { "100%", formatText ("100%%") },
        { "no placeholder", formatText ("no placeholder", juce::String ("KMX-Q7")) },
    };

    for (auto& c : cases)
        EXPECT_EQ (c.actual, c.expected);
}

TEST (FormatText, PlaceholdersWithoutAMatchingArgumentInsertNothing)
{
    // A translation with a placeholder too many, or of the wrong kind, must
    // not read past the arguments.
    EXPECT_EQ (formatText ("%s and %s", "one"), "one and ");
    EXPECT_EQ (formatText ("%d items", "text"), " items");
    EXPECT_EQ (formatText ("%s.", 7), ".");
    EXPECT_EQ (formatText ("ends with %"), "ends with %");
}
