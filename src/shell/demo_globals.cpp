// Storage of the driver's globals.
#include "shell/demo_globals.h"

int32_t sceneCounter = 0;
float frameStep = 0.0f;
bool hiddenMode = false;
bool quitRequested = false;
int32_t screenWidth = 640;
int32_t screenHeight = 480;
bool leftKeyHeld = false;
bool rightKeyHeld = false;

void ResetDemoGlobals() {
    sceneCounter = 0;
    frameStep = 0.0f;
    hiddenMode = false;
    quitRequested = false;
    screenWidth = 640;
    screenHeight = 480;
    leftKeyHeld = false;
    rightKeyHeld = false;
}
