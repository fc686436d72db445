// Program entry.
#include "shell/demo_main.h"

int main(int argc, char** argv) {
    return DemoMain(argc, argv);
}
