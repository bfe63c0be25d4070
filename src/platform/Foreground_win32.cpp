#include "platform/Foreground.h"
#include <windows.h>

void allowAnyProcessToSetForeground()
{
    AllowSetForegroundWindow (ASFW_ANY);
}
