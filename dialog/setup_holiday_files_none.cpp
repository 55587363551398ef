// A build without libical (Windows: Debian has none for mingw-w64) has no holiday files: the
// folder is not read, and the import and export say so when asked for.
#include "date/holidays.h"
#include "dialog/setup_behaviour.h"

struct CSetupBehaviour::HolidayFiles {};

void CSetupBehaviour::HolidayFilesDeleter::operator()(HolidayFiles* files) const
{
    delete files;
}

namespace {

constexpr const char* TEXT_NO_HOLIDAY_FILES =
    "이 Windows 판은 휴일 파일(iCalendar, JSON)을 읽거나 쓸 수 없습니다: Windows 용 libical 이 없습니다. "
    "휴일은 달력에서 날짜를 눌러 정하십시오.";

}  // namespace

void CSetupBehaviour::LoadHolidayFolder() {}

void CSetupBehaviour::ResetMarks()
{
    ClearHolidayMarks();
}

void CSetupBehaviour::MarkHolidayFileDaysAgain() {}

void CSetupBehaviour::OnImportHolidays()
{
    m_view.TellOperator(TEXT_NO_HOLIDAY_FILES);
}

void CSetupBehaviour::OnExportHolidays()
{
    m_view.TellOperator(TEXT_NO_HOLIDAY_FILES);
}
