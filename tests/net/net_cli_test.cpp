// dorvane-cli against a terminal on the network: the simulator on a pseudo-terminal behind Debian's
// ser2net on loopback, over raw TCP, RFC 2217 and RFC 2217 inside TLS, and behind pyserial's RFC
// 2217 server; then against servers that misbehave.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/case_name.h"
#include "tests/support/pyserial_rfc2217_server.h"
#include "tests/support/received_frames.h"
#include "tests/support/run_process.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_certificates.h"
#include "tests/support/test_simulator.h"

using namespace std::chrono_literals;

namespace {

enum class Link { Tcp, Rfc2217, Rfc2217Tls, PyserialRfc2217 };

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
            m_pyserial = std::make_unique<CPyserialRfc2217Server>(m_sim->SlavePath());
            std::string error;
            EXPECT_TRUE(m_pyserial->Start(error)) << error;
            return "rfc2217://127.0.0.1:" + std::to_string(m_pyserial->Port());
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
    std::unique_ptr<CPyserialRfc2217Server> m_pyserial;
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

// A device server of our own on loopback, for what no real one does on purpose. It takes up RFC
// 2217 at once (IAC DO COM-PORT-OPTION), then floods the line while the settings wait, or answers
// the baud rate with another; or it never accepts, so that a TLS handshake waits.
class CMisbehavingServer {
public:
    enum Misbehaviour { FLOOD, OTHER_BAUD, NEVER_ACCEPT };

    explicit CMisbehavingServer(Misbehaviour how) : m_how(how)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listener, 1);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_nPort = ntohs(address.sin_port);
        if (how != NEVER_ACCEPT) m_thread = std::thread(&CMisbehavingServer::Serve, this);
    }
    ~CMisbehavingServer()
    {
        ::shutdown(m_listener, SHUT_RDWR);  // ends an accept that still waits
        if (m_thread.joinable()) m_thread.join();
        ::close(m_listener);
    }
    CMisbehavingServer(const CMisbehavingServer&) = delete;
    CMisbehavingServer& operator=(const CMisbehavingServer&) = delete;

    int Port() const { return m_nPort; }
    // A connection waits to be accepted.
    bool Connected() const
    {
        pollfd fd{m_listener, POLLIN, 0};
        return ::poll(&fd, 1, 10'000) == 1;
    }

private:
    void Serve()
    {
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) return;
        const std::string flood(64 * 1024, 'n');
        bool open = ::send(connection, "\xff\xfd\x2c", 3, MSG_NOSIGNAL) == 3;
        std::string heard;
        while (open && m_how == FLOOD) open = ::send(connection, flood.data(), flood.size(), MSG_NOSIGNAL) > 0;
        while (open) {
            char buffer[512];
            const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
            open = n > 0;
            if (open) heard.append(buffer, static_cast<std::size_t>(n));
            // A request is IAC SB COM-PORT-OPTION, its command, its value, IAC SE. The answer is
            // the command + 100 with the value taken: the value asked, but 115200 for a baud rate.
            for (std::size_t at; (at = heard.find("\xff\xfa\x2c")) != std::string::npos;) {
                const std::size_t end = heard.find("\xff\xf0", at);
                if (end == std::string::npos || end < at + 4) break;
                const char command = heard[at + 3];
                std::string value = heard.substr(at + 4, end - at - 4);
                heard.erase(0, end + 2);
                if (command == 1) value = std::string("\x00\x01\xc2\x00", 4);
                const std::string answer = "\xff\xfa\x2c" + std::string(1, static_cast<char>(command + 100)) + value +
                                           "\xff\xf0";
                ::send(connection, answer.data(), answer.size(), MSG_NOSIGNAL);
            }
        }
        ::close(connection);
    }

    const Misbehaviour m_how;
    int m_listener = -1;
    int m_nPort = 0;
    std::thread m_thread;
};

std::vector<std::string> ConnectTo(const std::string& url)
{
    return {DORVANE_CLI_PATH, "--port", url, "--model", "ZEFA-102", "connect"};
}

TEST(NetRfc2217, ARefusedSettingIsNamedAndAFloodIsHeldInBoundedMemory)
{
    const struct {
        CMisbehavingServer::Misbehaviour how;
        const char* why;
    } cases[] = {
        {CMisbehavingServer::OTHER_BAUD, ": the server refused the baud rate 9600: it answered 115200\n"},
        {CMisbehavingServer::FLOOD, ": no answer to the baud rate 9600 within 5 s\n"},
    };
    long refusedKb = 0;
    for (const auto& c : cases) {
        CMisbehavingServer server(c.how);
        const ProcessResult r = RunProcess(ConnectTo("rfc2217://127.0.0.1:" + std::to_string(server.Port())));
        EXPECT_EQ(r.exitStatus, 3) << r.err;
        EXPECT_TRUE(r.err.ends_with(c.why)) << r.err;
        if (c.how == CMisbehavingServer::OTHER_BAUD) refusedKb = r.maxResidentKb;
        // Unbounded, five seconds of flood on loopback are hundreds of megabytes.
        if (c.how == CMisbehavingServer::FLOOD) {
            EXPECT_LT(r.maxResidentKb, refusedKb + 32 * 1024);
        }
    }
}

TEST(NetRfc2217, SigintDuringAHeldTlsHandshakeEndsTheRunAtOnce)
{
    CMisbehavingServer server(CMisbehavingServer::NEVER_ACCEPT);
    CChildProcess cli(ConnectTo("rfc2217+tls://127.0.0.1:" + std::to_string(server.Port())));
    ASSERT_TRUE(server.Connected());
    const auto start = std::chrono::steady_clock::now();
    cli.Signal(SIGINT);
    const ProcessResult r = cli.Wait();
    EXPECT_EQ(r.exitStatus, 130) << r.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);  // the connect deadline is 5 s
    EXPECT_TRUE(r.err.starts_with("dorvane-cli: SIGINT 신호를 받아 중단했습니다 / interrupted by SIGINT")) << r.err;
}

}  // namespace
