#include "app/MainComponent.h"

// Placeholder transfer: announces itself and fails.
void MainComponent::run()
{
    requestState (Updating);
    progress = 0.0;
    requestState (Failed);
}
