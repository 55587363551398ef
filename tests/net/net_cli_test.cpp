// dorvane-cli against a terminal on the network: the simulator on a pseudo-terminal behind Debian's
// ser2net on loopback, over raw TCP, RFC 2217 and RFC 2217 inside TLS, and behind pyserial's RFC
// 2217 server; then against servers that misbehave.
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/case_name.h"
#include "tests/support/received_frames.h"
#include "tests/support/run_process.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_certificates.h"
#include "tests/support/test_simulator.h"

using namespace std::chrono_literals;

namespace {

enum class Link { Tcp, Rfc2217, Rfc2217Tls, PyserialRfc2217 };

// pyserial's RFC 2217 server as Debian ships it (python3-serial), run as it is on a
// pseudo-terminal. It reads and sets the modem lines, which a pseudo-terminal refuses (ENOTTY):
// they are answered as a cabled port's would be, DSR, CTS and carrier up, in its Python only.
constexpr const char* kPyserialServer = R"(
import runpy, sys
import serial.serialposix as posix
posix.Serial._update_dtr_state = posix.Serial._update_rts_state = lambda self: None
for line, up in (('cts', True), ('dsr', True), ('ri', False), ('cd', True)):
    setattr(posix.Serial, line, property(lambda self, up=up: up))
sys.argv = ['rfc2217_server.py'] + sys.argv[1:]
runpy.run_path('/usr/share/doc/python3-serial/examples/rfc2217_server.py', run_name='__main__')
)";

class NetCli : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_folder = std::make_unique<CTempFolder>("dorvane-net-certificates");
        std::string error;
        s_made = MakeTestCertificates(s_folder->Path(), s_certificates, error);
        s_error = error;
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    void SetUp() override { ASSERT_TRUE(s_made) << s_error; }

    void StartTerminal(int model, const SimulatorFaults& faults = {})
    {
        m_sim = std::make_unique<CTerminalSimulator>(model, faults);
        PrepareTestSimulator(*m_sim);
        std::string error;
        ASSERT_TRUE(m_sim->Start(error)) << error;
        m_ser2net = std::make_unique<CSer2net>(m_sim->SlavePath());
    }

    // A port of ser2net for the terminal, or pyserial's server; its URL.
    std::string Serve(Link link, const TlsIdentity& identity = s_certificates.server)
    {
        if (link == Link::PyserialRfc2217) {
            const std::string port = std::to_string(FreeLoopbackPort());
            m_pyserial = std::make_unique<CChildProcess>(
                std::vector<std::string>{DEBIAN_PYTHON3, "-c", kPyserialServer, "-p", port, m_sim->SlavePath()});
            EXPECT_TRUE(WaitUntilListening(std::stoi(port), 10s)) << "scripts/deps test installs python3-serial";
            return "rfc2217://127.0.0.1:" + port;
        }
        Ser2netPort port{.rfc2217 = link != Link::Tcp};
        if (link == Link::Rfc2217Tls) {
            port.tlsKey = identity.key;
            port.tlsCert = identity.certificate;
        }
        const int number = m_ser2net->AddPort(port);
        const char* scheme = link == Link::Tcp ? "tcp" : link == Link::Rfc2217 ? "rfc2217" : "rfc2217+tls";
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(number);
    }

    void StartSer2net()
    {
        std::string error;
        ASSERT_TRUE(m_ser2net->Start(error)) << error;
    }

    // TLS ports trust the test's authority (--ca) unless told to keep to the system's store.
    static std::vector<std::string> Cli(const std::string& url, int model, std::vector<std::string> args,
                                        bool trustTheAuthority = true)
    {
        args.insert(args.begin(), {DORVANE_CLI_PATH, "--port", url, "--model", ModelName(model), "--timeout", "3"});
        if (trustTheAuthority && url.find("+tls://") != std::string::npos) {
            args.insert(args.begin() + 1, {"--ca", s_certificates.authority});
        }
        return args;
    }

    static inline std::unique_ptr<CTempFolder> s_folder;
    static inline TestCertificates s_certificates;
    static inline bool s_made = false;
    static inline std::string s_error;

    std::unique_ptr<CTerminalSimulator> m_sim;
    std::unique_ptr<CSer2net> m_ser2net;
    std::unique_ptr<CChildProcess> m_pyserial;
};

struct UploadCase {
    std::string name;
    int model;
    Link link;
    std::vector<std::string> frames;  // what the terminal receives, connect frame first
};

void PrintTo(const UploadCase& c, std::ostream* out)
{
    *out << c.name;
}

class NetUpload : public NetCli, public ::testing::WithParamInterface<UploadCase> {};

TEST_P(NetUpload, ConnectsAndUploadsExactlyTheseFrames)
{
    const UploadCase& c = GetParam();
    StartTerminal(c.model);
    const std::string url = Serve(c.link);
    if (c.link != Link::PyserialRfc2217) StartSer2net();
    const ProcessResult r =
        RunProcess(Cli(url, c.model, {"send", "2027", "--unset-sunday", "--unset-holiday", "--mark", "03-03"}));
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(FrameTexts(*m_sim), c.frames);
}

const std::vector<std::string> k101Frames = {"#E", "#D0303"};
const std::vector<std::string> k102Frames = {"E", "D270303", "D270000"};

INSTANTIATE_TEST_SUITE_P(
    Rows, NetUpload,
    ::testing::Values(UploadCase{"ZEFA-101 raw TCP", MODEL_ZEFA101, Link::Tcp, k101Frames},
                      UploadCase{"ZEFA-101 RFC 2217", MODEL_ZEFA101, Link::Rfc2217, k101Frames},
                      UploadCase{"ZEFA-101 RFC 2217 TLS", MODEL_ZEFA101, Link::Rfc2217Tls, k101Frames},
                      UploadCase{"ZEFA-102 raw TCP", MODEL_ZEFA102, Link::Tcp, k102Frames},
                      UploadCase{"ZEFA-102 RFC 2217", MODEL_ZEFA102, Link::Rfc2217, k102Frames},
                      UploadCase{"ZEFA-102 RFC 2217 TLS", MODEL_ZEFA102, Link::Rfc2217Tls, k102Frames},
                      UploadCase{"ZEFA-101 pyserial RFC 2217", MODEL_ZEFA101, Link::PyserialRfc2217, k101Frames},
                      UploadCase{"ZEFA-102 pyserial RFC 2217", MODEL_ZEFA102, Link::PyserialRfc2217, k102Frames}),
    CaseName());

TEST_F(NetCli, ACertificateThatDoesNotVerifyIsAPortThatCannotBeOpened)
{
    const struct {
        const TlsIdentity& identity;
        bool trustTheAuthority;  // --ca; else the system's trust store, which does not know it
        const char* reason;
    } cases[] = {
        {s_certificates.selfSigned, true, "self-signed certificate"},
        {s_certificates.otherName, true, "the certificate is not made out to 127.0.0.1"},
        {s_certificates.server, false, "unable to get local issuer certificate"},
    };
    StartTerminal(MODEL_ZEFA102);
    std::vector<std::string> urls;
    for (const auto& c : cases) urls.push_back(Serve(Link::Rfc2217Tls, c.identity));
    StartSer2net();
    for (std::size_t i = 0; i < urls.size(); ++i) {
        const ProcessResult r = RunProcess(Cli(urls[i], MODEL_ZEFA102, {"connect"}, cases[i].trustTheAuthority));
        EXPECT_EQ(r.exitStatus, 3) << r.err;
        EXPECT_EQ(r.err.rfind("dorvane-cli: COM129 포트를 열수가 없습니다. 127.0.0.1:", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(std::string(" 서버의 인증서를 받아들일 수 없습니다: ") + cases[i].reason),
                  std::string::npos)
            << r.err;
    }
    EXPECT_TRUE(m_sim->Received().empty());
}

TEST_F(NetCli, Ser2netGoneInTheMiddleOfAnUploadIsALostPort)
{
    // Answers at the terminal's own 9600 baud, so that the upload is still going when ser2net ends.
    StartTerminal(MODEL_ZEFA102, {.baudRate = 9600});
    const std::string url = Serve(Link::Rfc2217);
    StartSer2net();
    CChildProcess cli(Cli(url, MODEL_ZEFA102, {"send", "2027"}));
    ASSERT_TRUE(m_sim->WaitForFrames(5, 10s));
    m_ser2net->Stop();
    const ProcessResult r = cli.Wait();
    EXPECT_EQ(r.exitStatus, 5) << r.err;
    EXPECT_EQ(r.err.rfind("dorvane-cli: COM129 포트의 연결이 끊어졌습니다.", 0), 0u) << r.err;
    EXPECT_LT(m_sim->Received().size(), 30u);
}

TEST_F(NetCli, NothingListeningIsAPortThatCannotBeOpened)
{
    const std::string where = "127.0.0.1:" + std::to_string(FreeLoopbackPort());
    const ProcessResult r = RunProcess(Cli("tcp://" + where, MODEL_ZEFA102, {"connect"}));
    EXPECT_EQ(r.exitStatus, 3) << r.err;
    EXPECT_EQ(
        r.err.rfind(
            "dorvane-cli: COM129 포트를 열수가 없습니다. " + where + " 에 연결할 수 없습니다: Connection refused", 0),
        0u)
        << r.err;
}

// A device server of our own on loopback, misbehaving as no real one does on purpose (argv[1]):
// it takes up RFC 2217 at once and then floods the line while the settings wait ("flood") or
// answers the baud rate with 115200 ("other-baud"); or it never accepts, so that a TLS handshake
// waits ("hold"). It prints its port, and "connected" once a client waits.
constexpr const char* kMisbehavingServer = R"(
import select, socket, sys, time
listener = socket.create_server(('127.0.0.1', 0))
print(listener.getsockname()[1], flush=True)
select.select([listener], [], [])
print('connected', flush=True)
if sys.argv[1] == 'hold':
    time.sleep(60)
connection = listener.accept()[0]
connection.sendall(b'\xff\xfd\x2c')  # IAC DO COM-PORT-OPTION
try:
    while sys.argv[1] == 'flood':
        connection.sendall(b'n' * 65536)
    heard = b''
    while data := connection.recv(512):
        heard += data
        # A request: IAC SB COM-PORT-OPTION, command, value, IAC SE. The answer: command + 100 and
        # the value asked, but 115200 for the baud rate.
        while (at := heard.find(b'\xff\xfa\x2c')) >= 0 and (end := heard.find(b'\xff\xf0', at)) > at + 3:
            command, value = heard[at + 3], heard[at + 4:end]
            heard = heard[end + 2:]
            if command == 1:
                value = (115200).to_bytes(4, 'big')
            connection.sendall(b'\xff\xfa\x2c' + bytes([command + 100]) + value + b'\xff\xf0')
except OSError:
    pass
)";

std::vector<std::string> ConnectTo(const std::string& url)
{
    return {DORVANE_CLI_PATH, "--port", url, "--model", "ZEFA-102", "connect"};
}

TEST(NetRfc2217, ARefusedSettingIsNamedAndAFloodIsHeldInBoundedMemory)
{
    const struct {
        const char* how;
        const char* why;
    } cases[] = {
        {"other-baud", ": the server refused the baud rate 9600: it answered 115200\n"},
        {"flood", ": no answer to the baud rate 9600 within 5 s\n"},
    };
    long refusedKb = 0;
    for (const auto& c : cases) {
        CChildProcess server({DEBIAN_PYTHON3, "-c", kMisbehavingServer, c.how});
        const ProcessResult r = RunProcess(ConnectTo("rfc2217://127.0.0.1:" + server.ReadLine()));
        EXPECT_EQ(r.exitStatus, 3) << r.err;
        EXPECT_TRUE(r.err.ends_with(c.why)) << r.err;
        // Unbounded, five seconds of flood on loopback are hundreds of megabytes.
        if (refusedKb > 0) {
            EXPECT_LT(r.maxResidentKb, refusedKb + 32 * 1024);
        }
        refusedKb = r.maxResidentKb;
    }
}

TEST(NetRfc2217, SigintDuringAHeldTlsHandshakeEndsTheRunAtOnce)
{
    CChildProcess server({DEBIAN_PYTHON3, "-c", kMisbehavingServer, "hold"});
    CChildProcess cli(ConnectTo("rfc2217+tls://127.0.0.1:" + server.ReadLine()));
    ASSERT_EQ(server.ReadLine(), "connected");
    const auto start = std::chrono::steady_clock::now();
    cli.Signal(SIGINT);
    const ProcessResult r = cli.Wait();
    EXPECT_EQ(r.exitStatus, 130) << r.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);  // the connect deadline is 5 s
    EXPECT_TRUE(r.err.starts_with("dorvane-cli: SIGINT 신호를 받아 중단했습니다 / interrupted by SIGINT")) << r.err;
}

}  // namespace
