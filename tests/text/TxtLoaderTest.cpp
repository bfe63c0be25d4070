#include <gtest/gtest.h>

#include "text/TxtLoader.h"
#include "FakeLocaleSource.h"

namespace
{
    juce::String utf8 (const char* text) { return juce::String::fromUTF8 (text); }

    // The process-wide table, made with a fixed locale answer and removed
    // again at the end of each test.
    struct ProcessTable : public ::testing::Test
    {
        FakeLocaleSource locales { { "00000409", "00000411", "00000419" }, 0x0409 };

        void TearDown() override { deleteTextTable(); }
    };
}

TEST (TxtLoader, ConstructedTableHasFontsAndNamesButNoLanguage)
{
    TxtLoader table;

    EXPECT_EQ (table.currentLanguage, -1);
    EXPECT_EQ (table.getCurrentFont(), "");

    for (int i = 0; i < TextCount; ++i)
        EXPECT_EQ (table.getText (i), "") << i;

    EXPECT_EQ (table.getFont (0), "Arial");
    EXPECT_EQ (table.getFont (8), "Microsoft YaHei");
    EXPECT_EQ (table.getFont (10), "Malgun Gothic");
    EXPECT_EQ (table.getFont (11), "MS UI Gothic");

    const char* const names[12] = { "English", "Français", "Deutsch", "Español", "Italiano", "Nederlands",
                                     "Русский", "Português", "简体中文", "繁體中文", "한국어", "日本語" };

    for (int i = 0; i < 12; ++i)
        EXPECT_EQ (table.getLanguageName (i), utf8 (names[i])) << i;
}

TEST (TxtLoader, GettersYieldTheEmptyTextOutOfRange)
{
    TxtLoader table;
    table.selectLanguage (0);

    EXPECT_TRUE (table.getText (TextUpdateModeHint).startsWith ("Start your %s in update mode"));

    for (const auto* text : { &table.getText (25), &table.getText (-1), &table.getText (1 << 30),
                              &table.getFont (12), &table.getFont (-1),
                              &table.getLanguageName (12), &table.getLanguageName (-1) })
    {
        EXPECT_EQ (text, &table.emptyText);
        EXPECT_TRUE (text->isEmpty());
    }
}

TEST (TxtLoader, SelectingReloadsOnlyForAnotherLanguage)
{
    TxtLoader table;
    table.selectLanguage (11);

    EXPECT_EQ (table.currentLanguage, 11);
    EXPECT_EQ (table.getCurrentFont(), "MS UI Gothic");
    EXPECT_EQ (table.getText (TextTitle), utf8 ("アップデートプログラム"));

    // The current language again: its block is not parsed again.
    table.texts[TextTitle] = "marker";
    table.selectLanguage (11);
    EXPECT_EQ (table.getText (TextTitle), "marker");

    table.selectLanguage (6);
    EXPECT_EQ (table.getText (TextTitle), utf8 ("Программа обновления"));
    EXPECT_EQ (table.getText (TextModelName), "KMX-Q7");

    // No language has these indexes; nothing changes.
    for (int index : { 12, -1, -2, 1000 })
    {
        table.selectLanguage (index);
        EXPECT_EQ (table.currentLanguage, 6);
        EXPECT_EQ (table.getText (TextTitle), utf8 ("Программа обновления"));
    }
}

TEST_F (ProcessTable, CreatedOnceSelectedAtOnceAndDeletedWhole)
{
    EXPECT_EQ (locales.handedOver, 0);

    createTextTable();
    auto* table = getTextTable();
    ASSERT_NE (table, nullptr);
    EXPECT_EQ (table->currentLanguage, 0);
    EXPECT_EQ (table->getText (TextTitle), "Updater Program");
    EXPECT_EQ (locales.handedOver, 3);

    // The scan reached the process-wide table.
    EXPECT_EQ (table->available[11], 1);
    EXPECT_EQ (table->available[6], 1);

    createTextTable();
    EXPECT_EQ (getTextTable(), table);
    EXPECT_EQ (locales.handedOver, 3);

    deleteTextTable();
    deleteTextTable();

    // Asking for the table when there is none makes one.
    auto* again = getTextTable();
    ASSERT_NE (again, nullptr);
    EXPECT_EQ (again->currentLanguage, 0);
    EXPECT_EQ (locales.handedOver, 6);
}
