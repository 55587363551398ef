// The notes a listing of a year ends with, as the operator reads them.
#pragma once

// Every year from 2025 on: days declared after the list was made.
inline constexpr const char* kDeclaredDaysNoteLine =
    "[NOTE]=>2025-06-03 뒤에 지정된 임시공휴일과 보궐선거일은 들어 있지 않습니다. 달력에서 그 날을 누르거나, "
    "--mark MM-DD 또는 휴일 파일로 더하십시오.";
