#pragma once

// Allows any process to bring its window to the front, so that the running
// instance may raise itself when a second one starts.
void allowAnyProcessToSetForeground();
