// Signals that end dorvane-cli early: Ctrl+C, a kill, a reader of its output that went away (on
// Windows the console's events, as SIGINT and SIGTERM). They only set a flag; the session sees it
// between two waits and closes the port itself, so that the port is left as a normal close
// leaves it.
#pragma once

// Installs the handlers; from then on InterruptSignal() tells whether one came.
void WatchInterrupts();
// The signal that came (SIGINT, SIGTERM, SIGPIPE), or 0.
int InterruptSignal();
// Its name as the operator knows it: "SIGINT" ("Ctrl+C" on Windows).
const char* SignalName(int signal);
