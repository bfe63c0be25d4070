#include <gtest/gtest.h>
#include "app/MainComponent.h"

TEST (StateMachine, StartsOnLanguageScreen)
{
    MainComponent mc;
    EXPECT_EQ (mc.getState(), SelectLanguage);
}
