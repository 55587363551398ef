// pyserial's RFC 2217 server (Debian's python3-serial, examples/rfc2217_server.py) in front of a
// device, as a second kind of device server beside ser2net: it negotiates Telnet in another
// order. For tests.
//
//   CPyserialRfc2217Server server(sim.SlavePath());
//   ASSERT_TRUE(server.Start(error)) << error;   // listening once it returns
//   ... "rfc2217://127.0.0.1:" + std::to_string(server.Port()) ...
#pragma once

#include <memory>
#include <string>

#include "tests/support/run_process.h"

class CPyserialRfc2217Server {
public:
    explicit CPyserialRfc2217Server(std::string device);
    ~CPyserialRfc2217Server();
    CPyserialRfc2217Server(const CPyserialRfc2217Server&) = delete;
    CPyserialRfc2217Server& operator=(const CPyserialRfc2217Server&) = delete;

    // Starts the server and waits until it takes connections; `error` says why not.
    bool Start(std::string& error);
    int Port() const { return m_nPort; }

private:
    std::string m_strDevice;
    int m_nPort = 0;
    std::unique_ptr<CChildProcess> m_process;
};
