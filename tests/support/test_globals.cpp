#include "tests/support/test_globals.h"

#include "ports/port_map.h"
#include "comm/trusted_certificates.h"
#include "date/holidays.h"
#include "date/mark_names.h"
#include "protocol/protocol.h"

void ResetTestGlobals()
{
    ResetLink();
    g_holidaySettings = DEFAULT_HOLIDAY_SETTINGS;
    g_markNames = MarkNames{};
    g_portMap.Clear();
    OperatorMessage unused;
    SetTrustedCertificates("", unused);  // the system's trust store
}
