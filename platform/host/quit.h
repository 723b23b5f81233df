// Requests from outside to end the program: the desktop closing the program's screen window
// (its close button, Alt+F4, the window manager) and SIGINT or SIGTERM. The program has one way
// to end, the game's quit key, so the keyboard hands a request to it as Escape held down: the
// frame in progress completes, the next one reads Escape, and the program ends through its
// normal end (cleanup chain, exit code 0). No SDL type crosses this header.
#pragma once
#include <cstdint>

enum class HostQuitReason : int32_t { kNone, kClose, kInterrupt, kTerminate };

// The request made so far, kNone while there is none. Safe to ask at any time.
HostQuitReason Host_QuitRequest();
// Records a request; the first one stays (its reason is the one traced).
void Host_RequestQuit(HostQuitReason reason);
// SIGINT and SIGTERM become requests while a keyboard exists to carry them (`on`); otherwise
// the signals keep their previous handling. A second signal of the same kind ends the process
// at once, for a program that cannot take the first.
void Host_CatchQuitSignals(bool on);
// Called by the keyboard when a read carries the request: the first time writes the trace line
// `quit REASON` (close, SIGINT, SIGTERM).
void Host_QuitDelivered();
