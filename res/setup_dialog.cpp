#include "res/setup_dialog.h"

#include "protocol/terminal_model.h"
#include "res/resource.h"

namespace {

// The main dialog's own base units: 511 x 449 units make 1022 x 730 pixels.
constexpr int SETUP_BASE_X = 8;
constexpr int SETUP_BASE_Y = 13;

using K = ControlKind;

constexpr DialogControl SETUP_CONTROLS[] = {
    {IDC_BIWEEKLY_EVEN, K::RadioButton, "짝수", 450, 135, 29, 10, STYLE_GROUP},
    {IDC_BIWEEKLY_ODD, K::RadioButton, "홀수", 450, 146, 29, 10, STYLE_NONE},
    {IDC_BIWEEKLY_WEEKDAY, K::ComboBox, "", 450, 159, 48, 115, STYLE_NONE},
    {IDC_PORT, K::ComboBox, "", 450, 63, 48, 74, STYLE_SORT},
    {IDC_PORT_OPEN, K::PushButton, "포트오픈", 449, 81, 50, 14, STYLE_NONE},
    {IDC_DATA_SEND, K::PushButton, "데이터 전송", 443, 285, 61, 17, STYLE_NONE},
    {IDOK, K::DefPushButton, "종  료", 443, 413, 61, 29, STYLE_NONE},
    {IDC_YEAR_LABEL, K::Static, "2009 년", 161, 7, 136, 24, STYLE_CENTER},
    {IDC_NEXT_YEAR, K::PushButton, ">>", 301, 7, 22, 24, STYLE_NONE},
    {IDC_PREV_YEAR, K::PushButton, "<<", 136, 7, 22, 24, STYLE_NONE},
    {IDC_BIWEEKLY_FRAME, K::GroupBox, "격주휴무", 443, 108, 61, 72, STYLE_NONE},
    {IDC_STATIC, K::GroupBox, "포트선택", 443, 47, 61, 55, STYLE_NONE},
    {IDC_UNSET_SUNDAY, K::CheckBox, "일요일 해제", 450, 206, 51, 10, STYLE_NONE},
    {IDC_UNSET_SATURDAY, K::CheckBox, "토요일 해제", 450, 222, 51, 10, STYLE_NONE},
    {IDC_UNSET_FRAME, K::GroupBox, "공유일해제", 443, 189, 61, 65, STYLE_NONE},
    {IDC_BIWEEKLY_USE, K::CheckBox, "사용 유무", 450, 122, 44, 10, STYLE_NONE},
    {IDC_DATA_READ, K::PushButton, "데이터 읽기", 443, 325, 61, 17, STYLE_NONE},
    {IDC_TOTAL, K::Static, "    총휴일수 : ", 421, 7, 83, 24, STYLE_NONE},
    {IDC_SYSTEM_CONNECT, K::PushButton, "시스템 접속", 443, 265, 61, 17, STYLE_NONE},
    {IDC_SET_TIME, K::PushButton, "현재시간설정", 443, 345, 61, 17, STYLE_NONE},
    {IDC_DATA_DELETE, K::PushButton, "데이터 삭제", 443, 305, 61, 17, STYLE_NONE},
    {IDC_HOLIDAY_WEEKDAYS, K::PushButton, "휴일요일설정", 443, 385, 61, 17, STYLE_NONE},
    {IDC_STATUS, K::Static, "연결 안됨", 7, 7, 83, 24, STYLE_CENTER},
    {IDC_MODEL_101, K::RadioButton, MODEL_NAMES[MODEL_ZEFA101], 351, 7, 46, 10, STYLE_GROUP},
    {IDC_MODEL_102, K::RadioButton, MODEL_NAMES[MODEL_ZEFA102], 351, 21, 46, 10, STYLE_NONE},
    {IDC_LOAN_PERIOD, K::PushButton, "대출기간설정", 443, 365, 61, 17, STYLE_NONE},
    {IDC_UNSET_HOLIDAY, K::CheckBox, "공휴일 해제", 450, 238, 51, 10, STYLE_NONE},
    {IDC_PROGRESS, K::Progress, "", 7, 33, 122, 12, STYLE_NONE},
};

struct ResourceString {
    int id;
    const char* text;
};

constexpr ResourceString STRING_TABLE[] = {
    {IDS_ABOUTBOX, "Dorvane 정보(&A)..."},
};

}  // namespace

extern const DialogTemplate SETUP_TEMPLATE = {
    IDD_SETUP_DIALOG, "Dorvane", "굴림", 10, 511, 449, SETUP_BASE_X, SETUP_BASE_Y, SETUP_CONTROLS,
};

extern const char* const BIWEEKLY_WEEKDAY_ITEMS[7] = {
    "일요일", "월요일", "화요일", "수요일", "목요일", "금요일", "토요일",
};

const char* LoadResourceString(int id)
{
    for (const ResourceString& entry : STRING_TABLE) {
        if (entry.id == id) return entry.text;
    }
    return "";
}
