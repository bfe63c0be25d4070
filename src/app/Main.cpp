#include "app/Application.h"

// The toolkit's entry point builds the command line, creates the Application
// and runs it; its result is the process's exit code.
START_JUCE_APPLICATION (Application)
