// Debian's ser2net on loopback, bridging TCP ports to one device as a site runs it in front of a
// terminal: raw, Telnet with RFC 2217, and either inside TLS. For tests and benchmarks.
//
//   CSer2net ser2net(sim.SlavePath());
//   const int port = ser2net.AddPort({.rfc2217 = true});
//   ASSERT_TRUE(ser2net.Start(error)) << error;      // listening once it returns
//   ... "rfc2217://127.0.0.1:" + std::to_string(port) ...
//   ser2net.Stop();                                  // as if the device server went away
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/run_process.h"
#include "tests/support/temp_folder.h"

struct Ser2netPort {
    bool rfc2217 = false;                  // Telnet with COM-PORT-CONTROL; raw bytes otherwise
    std::string lineSettings = "9600n81";  // what ser2net sets the device to when a client comes
    // TLS when set: the server's key and certificate (PEM files).
    std::string tlsKey{};
    std::string tlsCert{};
};

// A TCP port on 127.0.0.1 that nothing listens on at the time of asking.
int FreeLoopbackPort();
// Waits until a server listens on TCP `port`; false after `timeout`. Seen in the kernel's table:
// a probe connection would make a device server open its device, and its teardown could race
// the test's own connection.
bool WaitUntilListening(int port, std::chrono::milliseconds timeout);

class CSer2net {
public:
    explicit CSer2net(std::string device);
    ~CSer2net();
    CSer2net(const CSer2net&) = delete;
    CSer2net& operator=(const CSer2net&) = delete;

    // A listening port for the device (chosen now, opened by Start); its number.
    int AddPort(const Ser2netPort& port);
    // Writes the configuration, starts ser2net and waits until every port takes connections;
    // `error` says why not (with what ser2net printed).
    bool Start(std::string& error);
    // Ends ser2net; its connections close. Idempotent.
    void Stop();

private:
    std::string m_strDevice;
    CTempFolder m_folder{"dorvane-ser2net"};
    std::vector<std::pair<int, Ser2netPort>> m_ports;
    std::unique_ptr<CChildProcess> m_process;
};
