// The process-wide state every test starts from: no connection, nothing pending, the holiday
// settings at their start values and no day named, an empty port map, the system's trust store.
#pragma once

void ResetTestGlobals();
