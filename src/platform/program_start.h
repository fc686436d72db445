// What the program does with its process before anything else: the command line as UTF-8.
#pragma once

// Replaces *argv with the program's arguments as UTF-8 strings (they already are on Linux; on
// Windows they are read again from the wide-character command line, since the narrow one is in
// the local code page). A program started from the desktop (double-click) leaves the console
// window the system made for it. Call first thing in main; the strings live until exit.
void PrepareProgram(int* argc, char*** argv);
