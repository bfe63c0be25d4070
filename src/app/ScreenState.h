#pragma once

// What the window shows. A plain int on purpose: requests travel through
// pendingState, where -1 means "none".
using ScreenState = int;

enum : ScreenState
{
    SelectLanguage = 0,
    NotRecognized  = 1,
    Ready          = 2,
    Updating       = 3,
    Complete       = 4,   // final
    Failed         = 5    // final
};
