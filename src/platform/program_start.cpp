// Linux: arguments are passed as the bytes the user typed, UTF-8 in any current locale.
#include "platform/program_start.h"

void PrepareProgram(int*, char***) {}
