// The terminal protocol: link state, the button handlers and the reply handler.
// Everything runs on the UI thread; the serial object hands each reply to OnCommFrame.
#pragma once

#include <string>

#include "comm/framing.h"
#include "date/local_clock.h"
#include "protocol/frames.h"
#include "protocol/protocol_host.h"

// What the next reply is to trigger.
enum PendingCommand {
    PENDING_NONE = 0,
    PENDING_CONNECT = 68,  // ZEFA-101: connect frame held until the terminal speaks
    PENDING_UPLOAD = 136,  // holiday upload running
};

inline constexpr int HELD_FRAME_SIZE = 500;
// The longest reply text the serial framer delivers.
inline constexpr int MAX_REPLY_LENGTH = COMM_FRAME_MAX;

inline constexpr const char* TEXT_NOT_CONNECTED = "먼저 시스템과 연결을 해야 합니다.";
inline constexpr const char* TEXT_CONNECTED = "연결 성공";
inline constexpr const char* TEXT_DISCONNECTED = "연결 안됨";
inline constexpr const char* TEXT_NO_REPLY = "단말기 응답이 없습니다.";

extern int g_bConnected;  // set by the first reply "OK"; never cleared
extern PendingCommand g_nPendingCmd;
extern char g_szHeldFrame[HELD_FRAME_SIZE];

// Back to the start state (nothing connected, nothing pending); for a fresh session.
void ResetLink();

// "[RX]=>(%d)%s\n"
std::string ReceivedLine(const char* text, int length);
// "[TX]=>%s\n"
std::string SentLine(const std::string& frame);
// "[TIMEOUT]=>%s\n": an exchange ended without the reply it waited for.
std::string TimeoutLine(const std::string& why);
// The computer's clock shows a year no frame can carry (see IsTerminalYear).
std::string ClockOutOfRangeText(int year);

void OnSystemConnect(ProtocolHost& host, int model);
// Sends nothing, and says why, when the clock's year is not one a terminal can hold.
void OnSetTime(ProtocolHost& host, int model, const LocalTime& now);
void OnDataRead(ProtocolHost& host, int model, int year);
void OnDataDelete(ProtocolHost& host, int model, int year);
// Rebuilds the upload list and starts the upload; returns the holiday total.
int OnDataSend(ProtocolHost& host, int model, int year);
// After the weekday dialog ended with OK; `digits` as it collected them.
void OnHolidayWeekdays(ProtocolHost& host, const std::string& digits);
// After the loan-period dialog ended with OK.
void OnLoanPeriod(ProtocolHost& host, int first, int second);
// A model radio button was clicked. Choosing ZEFA-102 abandons the exchange that waits (a held
// connect, an upload, a read). The caller sets the receiver's framing to the model itself.
void OnModelSelected(ProtocolHost& host, int model);

// Ends the exchange that waits for a reply (a held connect, an upload, a read): the next reply
// is only logged, and the framer drops what it holds of a reply that is cut short, so that the
// next one is framed clean.
void AbandonExchange(ProtocolHost& host);

// How far the last upload got, in holidays (the ZEFA-102 end record is none).
struct UploadProgress {
    bool running;  // it waits for the terminal's reply
    int answered;  // holidays the terminal has taken
    int total;     // holidays in the list
};
UploadProgress GetUploadProgress();

// What a reply did, as bits, so a caller without a window can tell when an exchange is over.
inline constexpr int REPLY_CONNECTED = 1;     // this reply made the connection
inline constexpr int REPLY_READ_DONE = 2;     // this reply was taken as the holiday list
inline constexpr int REPLY_HELD_SENT = 4;     // the held connect frame went out
inline constexpr int REPLY_UPLOAD_NEXT = 8;   // the next upload frame went out
inline constexpr int REPLY_UPLOAD_DONE = 16;  // the upload has ended

// Handles one reply; `frame` is the serial object's NUL-terminated reply text, read in place.
// The last step re-arms the framer.
int OnCommFrame(ProtocolHost& host, int model, int year, const char* frame);
