// The program: command line, start-up, main loop and shutdown.
#pragma once

int DemoMain(int argc, char** argv);
