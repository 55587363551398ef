// Whether a user without privileges could open a device now: root ignores the exclusive flag of a
// tty, so only another user shows that a program closed its port cleanly. Needs root to switch.
#pragma once

#include <string>

// 0 when the open succeeds, else the errno it failed with; -1 when this process cannot become
// another user (not root).
int OpenAsOrdinaryUser(const std::string& path);
