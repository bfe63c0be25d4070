#include "platform/Foreground.h"

// X11 has no foreground lock to lift: a window raises and focuses itself.
void allowAnyProcessToSetForeground() {}
