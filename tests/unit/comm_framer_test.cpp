#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "comm/comm.h"
#include "tests/support/case_name.h"
#include "tests/support/comm_owners.h"

namespace {

using Chunks = std::vector<std::string>;

std::vector<std::string> Frames(int framing, bool longReply, const Chunks& chunks)
{
    CComm comm;
    InlineOwner owner(comm);
    comm.SetOwnerWindow(&owner);
    comm.m_nFraming = framing;
    comm.m_bLongReply = longReply ? 1 : 0;
    for (const std::string& chunk : chunks) comm.Frame(chunk);
    return owner.frames;
}

struct FramerCase {
    const char* name;
    int framing;
    bool longReply;
    Chunks chunks;
    std::vector<std::string> frames;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FramerCase& c, std::ostream* out)
{
    *out << c.name;
}

const std::string kOneShort(LONG_REPLY_MIN_LEN - 1, 'x');
const std::string kOverlong(3000, 'y');

const FramerCase kCases[] = {
    {"line OK", FRAMING_LINES, false, {"OK\r\n"}, {"OK"}},
    {"empty line is no frame", FRAMING_LINES, false, {"\r\n"}, {}},
    {"bytes between CR and LF dropped", FRAMING_LINES, false, {"AB\rX\n"}, {"AB"}},
    {"second CR ignored", FRAMING_LINES, false, {"AB\r\r\n"}, {"AB"}},
    {"LF without CR is data", FRAMING_LINES, false, {"A\nB\r\n"}, {"A\nB"}},
    {"leading # kept", FRAMING_LINES, false, {"#OK\r\n"}, {"#OK"}},
    {"one frame per chunk", FRAMING_LINES, false, {"A\r\n", "B\r\n"}, {"A", "B"}},
    {"line split over reads", FRAMING_LINES, false, {"O", "K\r", "\n"}, {"OK"}},
    {"empty read", FRAMING_LINES, false, {"O", "", "K\r\n"}, {"OK"}},
    {"short line in long reply waits", FRAMING_LINES, true, {"OK\r\n"}, {}},
    {"long reply one short waits",
     FRAMING_LINES,
     true,
     {kOneShort.substr(0, 100) + "\r\n", kOneShort.substr(100) + "\r\n"},
     {}},
    {"long reply at its length ends",
     FRAMING_LINES,
     true,
     {kOneShort.substr(0, 100) + "\r\n", kOneShort.substr(100) + "z\r\n"},
     {kOneShort + "z"}},
    {"long reply joins a third line",
     FRAMING_LINES,
     true,
     {"#RD0101\r\n", "\r\n", kOneShort + "\r\n"},
     {"#RD0101" + kOneShort}},
    {"overlong line cut",
     FRAMING_LINES,
     false,
     {kOverlong + "\r\n", "OK\r\n"},
     {kOverlong.substr(0, COMM_FRAME_MAX), "OK"}},
    {"overlong line over reads",
     FRAMING_LINES,
     false,
     {kOverlong, kOverlong, "\r\n"},
     {kOverlong.substr(0, COMM_FRAME_MAX)}},
    {"stx OK", FRAMING_STX_ETX, false, {"\x02OK\x03"}, {"OK"}},
    {"bytes before STX ignored", FRAMING_STX_ETX, false, {"junk\r\n\x03\x02OK\x03"}, {"OK"}},
    {"second STX is data",
     FRAMING_STX_ETX,
     false,
     {"\x02"
      "A\x02"
      "B\x03"},
     {"A\x02"
      "B"}},
    {"STX alone then a frame", FRAMING_STX_ETX, false, {"\x02", "\x02X\x03"}, {"\x02X"}},
    {"stx split over reads", FRAMING_STX_ETX, false, {"\x02O", "K", "\x03"}, {"OK"}},
    {"empty stx frame", FRAMING_STX_ETX, false, {"\x02\x03"}, {""}},
    {"long reply ignored by stx", FRAMING_STX_ETX, true, {"\x02OK\x03"}, {"OK"}},
    {"overlong stx cut",
     FRAMING_STX_ETX,
     false,
     {"\x02" + kOverlong + "\x03", "\x02OK\x03"},
     {kOverlong.substr(0, COMM_FRAME_MAX), "OK"}},
};

class FramerTable : public ::testing::TestWithParam<FramerCase> {};

TEST_P(FramerTable, DeliversExactly)
{
    const FramerCase& c = GetParam();
    EXPECT_EQ(Frames(c.framing, c.longReply, c.chunks), c.frames);
}

INSTANTIATE_TEST_SUITE_P(Framers, FramerTable, ::testing::ValuesIn(kCases), CaseName());

// A driver or a device server hands over whatever has come when the reader reads, so replies
// share reads in every way: each cut of the bytes below into reads gives the same replies.
TEST(Framer, RepliesThatShareAReadAreEachDelivered)
{
    const struct {
        const char* name;
        int framing;
        std::string wire;
        std::vector<std::string> replies;
    } streams[] = {
        {"greeting and OK", FRAMING_LINES, "#READY\r\nOK\r\n", {"#READY", "OK"}},
        {"three lines", FRAMING_LINES, "A\r\n\r\nBC\r\nD\r\n", {"A", "BC", "D"}},
        {"NG then OK", FRAMING_STX_ETX, "\x02NG\x03\x02OK\x03", {"NG", "OK"}},
        {"noise between", FRAMING_STX_ETX, "\x02NG\x03\r\n~\x03\x02OK\x03", {"NG", "OK"}},
    };
    for (const auto& stream : streams) {
        // One read, a read per byte, and each cut into two reads.
        std::vector<Chunks> reads = {{stream.wire}, {}};
        for (char byte : stream.wire) reads[1].push_back(std::string(1, byte));
        for (std::size_t cut = 1; cut < stream.wire.size(); ++cut) {
            reads.push_back({stream.wire.substr(0, cut), stream.wire.substr(cut)});
        }
        for (const Chunks& chunks : reads) {
            EXPECT_EQ(Frames(stream.framing, false, chunks), stream.replies)
                << stream.name << ": " << chunks.size() << " reads, the first of " << chunks[0].size() << " bytes";
        }
    }
}

// The step that waits bounds a reply by its first byte (protocol/exchange_step.h).
TEST(Framer, AReplyArrivingKeepsItsFirstByte)
{
    CComm comm;
    comm.m_nFraming = FRAMING_STX_ETX;
    comm.Frame(
        "\x02"
        "A");
    const std::optional<ReplyArrival> begun = comm.ReplyArriving();
    ASSERT_TRUE(begun);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    comm.Frame("B");
    EXPECT_EQ(comm.ReplyArriving()->firstByte, begun->firstByte);
    EXPECT_GT(comm.ReplyArriving()->lastByte, begun->lastByte);
    comm.Frame("\x03");
    EXPECT_FALSE(comm.ReplyArriving());
}

TEST(Framer, EveryByteValueInsideAFrameIsData)
{
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        if (b != '\r') {
            EXPECT_EQ(Frames(FRAMING_LINES, false, {"A" + byte + "B\r\n"}), std::vector<std::string>{"A" + byte + "B"})
                << "byte " << b;
        }
        if (b != 0x03) {
            EXPECT_EQ(Frames(FRAMING_STX_ETX, false,
                             {"\x02"
                              "A" +
                              byte + "B\x03"}),
                      std::vector<std::string>{"A" + byte + "B"})
                << "byte " << b;
        }
    }
}

TEST(Framer, AnySplitOfAFrameGivesTheSameFrame)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 2000; ++round) {
        const bool lines = round % 2 == 0;
        std::string text(random() % 300, '\0');
        for (char& c : text) {
            do {
                c = static_cast<char>(random() % 256);
            } while (lines ? c == '\r' : c == 0x03);
        }
        std::string noise;
        if (!lines) noise = std::string(random() % 5, 'n');
        const std::string wire = lines ? text + "\r\n" : noise + "\x02" + text + "\x03";
        Chunks chunks;
        for (std::size_t at = 0; at < wire.size();) {
            const std::size_t size = 1 + random() % 40;
            chunks.push_back(wire.substr(at, size));
            at += size;
        }
        const std::vector<std::string> frames = Frames(lines ? FRAMING_LINES : FRAMING_STX_ETX, false, chunks);
        if (lines && text.empty()) {
            EXPECT_TRUE(frames.empty());
        } else {
            EXPECT_EQ(frames, std::vector<std::string>{text}) << "round " << round;
        }
    }
}

TEST(Framer, ChunksAreDroppedUntilTheOwnerRearms)
{
    CComm comm;
    InlineOwner owner(comm, false);
    comm.SetOwnerWindow(&owner);
    comm.m_nFraming = FRAMING_STX_ETX;
    comm.Frame(
        "\x02"
        "A\x03");
    comm.Frame(
        "\x02"
        "B\x03");
    EXPECT_EQ(comm.m_nFrameState, FRAME_READY);
    EXPECT_STREQ(comm.m_frame, "A");
    comm.RearmFramer();
    comm.Frame(
        "\x02"
        "C\x03");
    EXPECT_EQ(owner.frames, (std::vector<std::string>{"A", "C"}));
}

TEST(Framer, ModelSwitchInTheMiddleOfAFrameDoesNotWedgeTheReceiver)
{
    CComm comm;
    InlineOwner owner(comm);
    comm.SetOwnerWindow(&owner);
    comm.m_nFraming = FRAMING_LINES;
    comm.Frame("AB\r");  // waits for LF
    comm.m_nFraming = FRAMING_STX_ETX;
    comm.Frame("\x02OK\x03");
    comm.Frame(
        "\x02"
        "CD");  // inside an STX frame
    comm.m_nFraming = FRAMING_LINES;
    comm.Frame("EF\r\n");
    EXPECT_EQ(owner.frames, (std::vector<std::string>{"OK", "CDEF"}));
}

TEST(CommDeviceName, TenAndUpUseTheDeviceNamespace)
{
    EXPECT_EQ(CommDeviceName(1), "COM1");
    EXPECT_EQ(CommDeviceName(9), "COM9");
    EXPECT_EQ(CommDeviceName(10), "\\\\.\\COM10");
    EXPECT_EQ(CommDeviceName(255), "\\\\.\\COM255");
}

TEST(CommOpen, UnknownPortReportsTheOperatorMessage)
{
    CComm comm;
    InlineOwner owner(comm);
    comm.SetOwnerWindow(&owner);
    comm.SetPortParams(250, 9600, 8, CommStopBits::One, CommParity::None);
    EXPECT_EQ(comm.Open(), 0);
    EXPECT_EQ(comm.m_bRunning, 0);
    EXPECT_EQ(owner.errors, std::vector<std::string>{"COM250 포트를 열수가 없습니다."});
    EXPECT_EQ(comm.Write("x", 1), 0);
    comm.Shutdown();
    comm.Shutdown();
}

}  // namespace
