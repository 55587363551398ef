// dorvane-sim as a process: its --link never takes a file that is not its own link.
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "tests/support/run_process.h"

namespace {

namespace fs = std::filesystem;

class SimLink : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_dir); }
    void TearDown() override { fs::remove_all(m_dir); }
    const fs::path m_dir = fs::temp_directory_path() / ("dorvane-sim-link-" + std::to_string(::getpid()));
};

TEST_F(SimLink, AFileInThePlaceIsRefusedAndKept)
{
    const fs::path notes = m_dir / "notes.txt";
    std::ofstream(notes) << "the operator's notes\n";
    const ProcessResult r = RunProcess({DORVANE_SIM_PATH, "--model", "ZEFA-102", "--link", notes.string()});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("refusing to replace something that is not a symbolic link"), std::string::npos) << r.err;
    std::ifstream kept(notes);
    std::string line;
    std::getline(kept, line);
    EXPECT_EQ(line, "the operator's notes");
}

TEST_F(SimLink, ALinkLeftByAnEarlierRunIsReplaced)
{
    const fs::path link = m_dir / "zefa";
    fs::create_symlink("/dev/null", link);
    CChildProcess sim({DORVANE_SIM_PATH, "--model", "ZEFA-102", "--link", link.string()});
    const std::string device = sim.ReadLine();  // printed once the link stands
    EXPECT_EQ(fs::read_symlink(link).string(), device);
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait().exitStatus, 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

}  // namespace
