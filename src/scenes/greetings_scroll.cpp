// Greetings scroll.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void GreetingsScrollInit() {}
void GreetingsScrollDraw() {}
