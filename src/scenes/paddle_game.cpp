// Hidden paddle game.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void PaddleGameInit() {}
void PaddleGameDraw() {}
