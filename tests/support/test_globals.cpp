#include "tests/support/test_globals.h"

#include "comm/port_map.h"
#include "date/holidays.h"
#include "protocol/protocol.h"

void ResetTestGlobals()
{
    ResetLink();
    g_holidaySettings = DEFAULT_HOLIDAY_SETTINGS;
    g_portMap.Clear();
}
