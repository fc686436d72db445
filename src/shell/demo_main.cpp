// The program: command line, then one run of the show on the platform's frame loop.
#include "shell/demo_main.h"

#include <cstdio>
#include <string>

#include "core/version.h"
#include "platform/allocator.h"
#include "platform/frame_loop.h"
#include "shell/command_line.h"
#include "shell/show_run.h"

namespace {

bool StepShow(void* context) {
    return ShowRunStep(*static_cast<ShowRun*>(context));
}

int CloseShow(void* context) {
    ShowRun& run = *static_cast<ShowRun*>(context);
    ShowRunClose(run);
    return run.status;
}

}  // namespace

int DemoMain(int argc, char** argv) {
    DemoOptions options;
    std::string error;
    if (!ParseCommandLine(argc, argv, &options, &error)) {
        std::fprintf(stderr, "demo: %s\n", error.c_str());
        return 2;
    }
    switch (options.mode) {
        case RunMode::Help:
            std::fputs(UsageText(), stdout);
            return 0;
        case RunMode::Version:
            std::printf("demo %s\n", VersionText());
            return 0;
        default:
            break;
    }
    KeepFreedMemoryForReuse();
    // The run outlives this function where the browser drives the frame loop.
    static ShowRun run;
    if (!ShowRunOpen(run, options)) {
        return run.status;
    }
    RunFrameLoop(StepShow, CloseShow, &run);
    return run.status;
}
