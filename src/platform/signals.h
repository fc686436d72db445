// Requests from outside to stop: Ctrl+C, a terminal hang-up, a kill without force. Turned into a
// flag that offline work polls at its next frame boundary, so it can finish what it has written.
#pragma once

// What asked the program to stop. On POSIX systems these are SIGINT, SIGTERM, SIGHUP and SIGQUIT;
// a Windows console maps Ctrl+C, close, Ctrl+Break and log-off/shut-down onto the same four.
enum class StopRequest { None, Interrupt, Terminate, HangUp, Quit };

// Routes the four requests to the flag from now on, replacing their default (the process dies at
// once). A request the process was started with ignored (nohup, a background job) stays ignored.
void InstallStopRequestHandlers();

// Puts the four requests back to the system's default handling.
void RestoreDefaultStopHandling();

// The first request received since the handlers were installed; None while there was none. Any
// thread.
StopRequest PendingStopRequest();

// A short name for messages: "SIGINT" and so on; "none" for None.
const char* StopRequestName(StopRequest request);

// The exit status that tells a script the program was stopped by request: 128 + the signal
// number by shell convention (130 for an interrupt); 0 for None.
int StopRequestExitStatus(StopRequest request);
