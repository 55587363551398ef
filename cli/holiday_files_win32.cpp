// The holiday files are read and written through libical, which Debian does not build for
// Windows: the Windows tool has no holiday folder, and refuses --import and --format ics|json
// rather than send or print a year without them.
#include "cli/holiday_files.h"

namespace {

const OperatorMessage kUnavailable = {"Windows 판에서는 휴일 파일(--import, --format ics|json)을 쓸 수 없습니다",
                               "holiday files (--import, --format ics|json) are not available in the Windows build"};

}  // namespace

bool MarkHolidayFiles(const CliRequest& request, OperatorMessage& error)
{
    if (request.imports.empty()) return true;
    error = kUnavailable;
    return false;
}

bool WriteHolidayExport(const CliRequest&, OperatorMessage& error)
{
    error = kUnavailable;
    return false;
}
