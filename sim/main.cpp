// dorvane-sim: a lending terminal on a pseudo-terminal, until stopped (Ctrl+C).
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

void PrintUsage(std::FILE* out)
{
    std::fputs(
        "사용법: dorvane-sim --model ZEFA-101|ZEFA-102 [옵션]\n"
        "usage: dorvane-sim --model ZEFA-101|ZEFA-102 [options]\n"
        "\n"
        "  --link PATH          symlink PATH to the terminal's device while running\n"
        "  --transcript FILE    one JSON line per received frame ('-': standard output)\n"
        "  --silent             never answer\n"
        "  --garbage            noise the framing ignores before every reply\n"
        "  --split N            write replies in pieces of N bytes\n"
        "  --overlong           pad replies to 3000 bytes\n"
        "  --hangup-after N     hang up on the N-th holiday frame (D)\n"
        "  --baud N             pace replies at N baud (10 bit times per byte)\n"
        "\n"
        "Prints the device path to open (for example with --port COM5=PATH).\n",
        out);
}

int Fail(const std::string& korean, const std::string& english)
{
    std::fprintf(stderr, "dorvane-sim: %s / %s\n", korean.c_str(), english.c_str());
    return 2;
}

bool PositiveNumber(const char* text, int& value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 1 || parsed > 1000000) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int model = -1;
    std::string link;
    std::string transcript;
    SimulatorFaults faults;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--help" || option == "-h") {
            PrintUsage(stdout);
            return 0;
        } else if (option == "--silent") {
            faults.silent = true;
        } else if (option == "--garbage") {
            faults.garbage = true;
        } else if (option == "--overlong") {
            faults.overlongReply = true;
        } else if (!hasValue) {
            PrintUsage(stderr);
            return Fail("알 수 없거나 값이 없는 옵션입니다: " + option, "unknown option or missing value: " + option);
        } else if (option == "--model") {
            model = ParseModelName(argv[++i]);
            if (model < 0)
                return Fail(std::string("모델은 ZEFA-101 또는 ZEFA-102입니다: ") + argv[i],
                            std::string("the model is ZEFA-101 or ZEFA-102: ") + argv[i]);
        } else if (option == "--link") {
            link = argv[++i];
        } else if (option == "--transcript") {
            transcript = argv[++i];
        } else if (option == "--split" || option == "--hangup-after" || option == "--baud") {
            int value = 0;
            if (!PositiveNumber(argv[++i], value)) {
                return Fail(option + " 값은 양의 정수입니다: " + argv[i],
                            option + " takes a positive number: " + argv[i]);
            }
            (option == "--split"  ? faults.splitBytes
             : option == "--baud" ? faults.baudRate
                                  : faults.hangUpAfterFrames) = value;
        } else {
            PrintUsage(stderr);
            return Fail("알 수 없는 옵션입니다: " + option, "unknown option: " + option);
        }
    }
    if (model < 0) {
        PrintUsage(stderr);
        return Fail("--model 이 필요합니다", "--model is required");
    }

    std::FILE* transcriptFile = nullptr;
    if (transcript == "-") {
        transcriptFile = stdout;
    } else if (!transcript.empty()) {
        transcriptFile = std::fopen(transcript.c_str(), "w");
        if (transcriptFile == nullptr) {
            return Fail("기록 파일을 열 수 없습니다: " + transcript + ": " + std::strerror(errno),
                        "cannot open the transcript: " + transcript + ": " + std::strerror(errno));
        }
    }

    CTerminalSimulator simulator(model, faults);
    simulator.SetTranscriptFile(transcriptFile);
    std::string error;
    if (!simulator.Start(error))
        return Fail("단말기를 시작할 수 없습니다: " + error, "cannot start the terminal: " + error);
    if (!link.empty()) {
        ::unlink(link.c_str());  // a link left by an earlier run
        if (::symlink(simulator.SlavePath().c_str(), link.c_str()) != 0) {
            return Fail("링크를 만들 수 없습니다: " + link + ": " + std::strerror(errno),
                        "cannot create the link: " + link + ": " + std::strerror(errno));
        }
    }
    std::printf("%s\n", simulator.SlavePath().c_str());
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (!g_stop && !simulator.HungUp()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    simulator.Stop();
    if (!link.empty()) ::unlink(link.c_str());
    if (transcriptFile != nullptr && transcriptFile != stdout) std::fclose(transcriptFile);
    return 0;
}
