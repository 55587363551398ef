// dorvane-sim: a lending terminal on a pseudo-terminal, until stopped (Ctrl+C).
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
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

int Fail(const std::string& korean, const std::string& english)
{
    std::fprintf(stderr, "dorvane-sim: %s / %s\n", korean.c_str(), english.c_str());
    return 2;
}

std::string SystemError()
{
    return std::strerror(errno);
}

// PATH may be replaced only when it is a symbolic link (one an earlier run left behind): any other
// file there is somebody's, and is never deleted.
bool PrepareLink(const std::string& path, std::string& korean, std::string& english)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return true;
        korean = "링크 자리를 확인할 수 없습니다: " + path + ": " + SystemError();
        english = "cannot check the link's place: " + path + ": " + SystemError();
        return false;
    }
    if (!S_ISLNK(info.st_mode)) {
        korean = "링크가 아닌 파일이 이미 있어 바꾸지 않습니다: " + path;
        english = "refusing to replace something that is not a symbolic link: " + path;
        return false;
    }
    if (::unlink(path.c_str()) != 0) {
        korean = "이전 링크를 지울 수 없습니다: " + path + ": " + SystemError();
        english = "cannot remove the old link: " + path + ": " + SystemError();
        return false;
    }
    return true;
}

// MMDD as a D frame carries it, 0101..1231; 0 for anything else.
int MonthDay(const std::string& text)
{
    if (text.size() != 4 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    const int month = std::stoi(text.substr(0, 2));
    const int day = std::stoi(text.substr(2));
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 ? month * 100 + day : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string models = ModelNames("|");
    CLI::App app(
        "A lending terminal on a pseudo-terminal; prints the device to open (for example with "
        "--port COM5=PATH).",
        "dorvane-sim");
    std::string modelName;
    std::string link;
    std::string transcript;
    SimulatorFaults faults;
    app.add_option("--model", modelName, "the terminal's model")->type_name(models)->required();
    app.add_option("--link", link, "a symbolic link PATH to the terminal's device while it runs")->type_name("PATH");
    app.add_option("--transcript", transcript, "one JSON line per received frame ('-': standard output)")
        ->type_name("FILE");
    app.add_flag("--silent", faults.silent, "never answer");
    app.add_flag("--garbage", faults.garbage, "noise the framing ignores before every reply");
    app.add_option("--split", faults.splitBytes, "write replies in pieces of N bytes")->check(CLI::PositiveNumber);
    app.add_flag("--overlong", faults.overlongReply, "pad replies beyond any frame buffer");
    app.add_option("--hangup-after", faults.hangUpAfterFrames, "hang up on the N-th holiday frame (D)")
        ->check(CLI::PositiveNumber);
    app.add_option("--baud", faults.baudRate, "the line's speed both ways: frames taken in and replies sent at N baud (10 bit times a byte)")
        ->check(CLI::PositiveNumber);
    app.add_flag("--refuse", faults.refuse, "answer NG to every frame");
    app.add_option("--noise", faults.noiseEveryMs, "line noise every N ms, and never an answer")
        ->check(CLI::PositiveNumber);
    // Taken as text: CLI11 would read the leading zero of 0303 as octal.
    std::string forgetDay;
    app.add_option("--forget-day", forgetDay, "answer OK to the holiday MMDD (D) but keep nothing")
        ->type_name("MMDD")
        ->check([](const std::string& text) {
            return MonthDay(text) > 0 ? std::string() : "MMDD, a month 01-12 and a day 01-31: " + text;
        });
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) {
        return app.exit(done);
    } catch (const CLI::ParseError& failure) {
        return Fail("명령줄을 읽을 수 없습니다 (--help 참고)", failure.what());
    }
    faults.forgetDay = MonthDay(forgetDay);
    const int model = ParseModelName(modelName);
    if (model < 0) {
        return Fail("모델은 " + models + " 중 하나입니다: " + modelName,
                    "the model is one of " + models + ": " + modelName);
    }
    std::string korean;
    std::string english;
    if (!link.empty() && !PrepareLink(link, korean, english)) return Fail(korean, english);

    std::FILE* transcriptFile = nullptr;
    if (transcript == "-") {
        transcriptFile = stdout;
    } else if (!transcript.empty()) {
        transcriptFile = std::fopen(transcript.c_str(), "w");
        if (transcriptFile == nullptr) {
            return Fail("기록 파일을 열 수 없습니다: " + transcript + ": " + SystemError(),
                        "cannot open the transcript: " + transcript + ": " + SystemError());
        }
    }

    CTerminalSimulator simulator(model, faults);
    simulator.SetTranscriptFile(transcriptFile);
    std::string error;
    if (!simulator.Start(error))
        return Fail("단말기를 시작할 수 없습니다: " + error, "cannot start the terminal: " + error);
    if (!link.empty() && ::symlink(simulator.SlavePath().c_str(), link.c_str()) != 0) {
        return Fail("링크를 만들 수 없습니다: " + link + ": " + SystemError(),
                    "cannot create the link: " + link + ": " + SystemError());
    }
    // Before the device is printed: whoever reads it may stop us at once, and the link must go.
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::printf("%s\n", simulator.SlavePath().c_str());
    std::fflush(stdout);

    while (!g_stop && !simulator.HungUp()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    simulator.Stop();
    if (!link.empty()) ::unlink(link.c_str());
    if (transcriptFile != nullptr && transcriptFile != stdout) std::fclose(transcriptFile);
    return 0;
}
