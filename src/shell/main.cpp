// Program entry.
#include "platform/program_start.h"
#include "shell/demo_main.h"

int main(int argc, char** argv) {
    PrepareProgram(&argc, &argv);
    return DemoMain(argc, argv);
}
