// What the operator is told about the port and the connection: the status caption, and the
// refusal of a command while no port is open. The connection itself (g_bConnected) is the
// protocol's and never clears; the port comes and goes.
#pragma once

#include "protocol/protocol_host.h"

enum PortState {
    PORT_NEVER_OPENED = 0,
    PORT_OPEN,
    PORT_OPEN_FAILED,  // the last open failed; whatever was open before is closed
    PORT_LOST,         // the device or the connection went away while open
};

inline constexpr const char* TEXT_PORT_LOST = "연결 끊김";
inline constexpr const char* TEXT_PORT_OPEN_FAILED = "포트 열기 실패";
inline constexpr const char* TEXT_OPEN_PORT_FIRST = "포트를 먼저 여십시오";

// The status caption: "연결 성공" only while a port is open and the terminal has ever
// answered OK; "연결 안됨" before that.
const char* StatusCaption(PortState port, int connected);

// The test of every command that sends a frame: a frame for a closed port would only be lost,
// and its exchange would end in a time-out that blames the terminal. Tells the operator when
// it fails.
bool RequireOpenPort(ProtocolHost& host, bool portOpen);
