#include "shell/demo_main.h"
int DemoMain(int, char**) {
    return 0;
}
