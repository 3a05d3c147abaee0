// lptlcd-sim end to end: the real program as a subprocess on the emulated devices. Standard output
// must be exactly the transcript the program is meant to print; standard error the final display
// and the port registers at start and exit.
//
// Where the counts and times below come from (1000 ns per access unless said otherwise):
// - Every instruction or character write is: the status-read control write, the busy reads, one
//   clear read, then setup, byte and latch. The latch at T makes the module busy until T + 37 us;
//   the control write fills T..T+1 us and the reads start at T + 2 us, so 35 reads see the flag
//   set and each write takes 40 accesses (40 us).
// - A pass is 84 instructions and 160 characters: 160 x 35 = 5600 counted reads and 244 x 40 us
//   = 9.76 ms. Success needs more than 4,000,000: after pass 715 (4,004,000).
// - The module is in its 10 ms power-up reset: the presence probe sees it ready at 10 ms, so the
//   start tick is 10. The clear at the end of the initialisation keeps the first set-address
//   instruction waiting 1.52 ms; the first pass ends at 21.449 ms and pass n at
//   21.449 + (n - 1) x 9.76 ms. The key is seen before the first pass that would start at or after
//   the key time.
//   Key at 20000 ms: 2048 passes, 11,468,800 reads; success at the end of pass 715, at 6990.089 ms:
//   6980 ms from the start tick, "6 seconds". Key at 1000 ms: 102 passes, 571,200 reads, ended at
//   1007 ms (997 ms, "0 seconds").
// - With 6000 ns per access only 5 reads fit in 37 us and a write takes 10 accesses (60 us): 800
//   counted reads and 14.64 ms a pass, success after pass 5001. The first pass ends at 26.460 ms.
//   Key at 100000 ms: 6830 passes, 5,464,000 reads; success at 73226.46 ms, "73 seconds" (over
//   50 s: the warning). Key at 60000 ms: 4098 passes, 3,278,400 reads, no success, ended at
//   60006.54 ms (59996 ms, "59 seconds", 50 s or more: the other warning).
// - A module dead after 100 characters took the 80 of the row pass and 20 of the column pass at 35
//   reads each: 3500.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "expected_messages.h"

extern char** environ;

namespace {

using namespace expected;

struct SimRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs lptlcd-sim with the arguments, standard input from /dev/null (no key ever).
SimRun runSim(const std::vector<std::string>& args)
{
    char outPath[] = "/tmp/lptlcd-sim-out.XXXXXX";
    char errPath[] = "/tmp/lptlcd-sim-err.XXXXXX";
    const int outFd = mkstemp(outPath);
    const int errFd = mkstemp(errPath);
    std::vector<std::string> all = {LPTLCD_SIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
    SimRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(outFd);
    close(errFd);
    run.out = slurp(outPath);
    run.err = slurp(errPath);
    unlink(outPath);
    unlink(errPath);
    return run;
}

const std::string HEALTHY_ROW = "01234567890123456789";
const std::string BLANK_ROW(20, ' ');

std::string box(const std::string& row)
{
    const std::string edge = "+--------------------+\n";
    return edge + "|" + row + "|\n|" + row + "|\n|" + row + "|\n|" + row + "|\n" + edge;
}

const std::string ECP_PORTS = "ports: control 0xCC -> 0xCC, ecr 0x15 -> 0x15\n";
const std::string STANDARD_PORTS = "ports: control 0xCC -> 0xCC\n";

struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string out;
    std::string err;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const std::string HEALTHY_RUN = BANNER + SUCCESS + report("11468800", "6");
const std::string SLOW_RUN = BANNER + SUCCESS + report("5464000", "73") + SLOW_SUCCESS;

const Case CASES[] = {
    {"no_argument", {}, USAGE, box(BLANK_ROW) + ECP_PORTS},
    {"healthy_ecp", {"--key-at=20000", "378"}, ECP_FOUND + BPP_OK + HEALTHY_RUN, box(HEALTHY_ROW) + ECP_PORTS},
    {"healthy_ps2", {"--port=ps2", "--key-at=20000", "378"}, STANDARD_FOUND + BPP_OK + HEALTHY_RUN,
     box(HEALTHY_ROW) + STANDARD_PORTS},
    {"healthy_ecp_elsewhere", {"--at=3bc", "--key-at=20000", "3BC"}, ECP_FOUND + BPP_OK + HEALTHY_RUN,
     box(HEALTHY_ROW) + ECP_PORTS},
    {"ecp_bidirectional_only_in_spp_mode", {"--port=ecp-spp-bidir", "--key-at=20000", "378"},
     ECP_FOUND + BPP_ONLY_IN_SPP + HEALTHY_RUN, box(HEALTHY_ROW) + ECP_PORTS},
    {"ecp_never_bidirectional", {"--port=ecp-no-bidir", "--key-at=20000", "378"}, ECP_FOUND + NO_BPP,
     box(BLANK_ROW) + ECP_PORTS},
    {"spp", {"--port=spp", "--key-at=20000", "378"}, STANDARD_FOUND + NO_BPP, box(BLANK_ROW) + STANDARD_PORTS},
    {"no_port", {"--port=none", "378"}, "No Port Detected at 378.\n", box(BLANK_ROW) + "ports: control 0xFF -> 0xFF\n"},
    {"port_at_another_address", {"--at=278", "378"}, "No Port Detected at 378.\n", box(BLANK_ROW) + ECP_PORTS},
    {"no_lcd", {"--lcd=none", "--key-at=20000", "378"}, ECP_FOUND + BPP_OK + NO_LCD, box(BLANK_ROW) + ECP_PORTS},
    {"slow_port_success_over_50s", {"--bus-ns=6000", "--key-at=100000", "378"}, ECP_FOUND + BPP_OK + SLOW_RUN,
     box(HEALTHY_ROW) + ECP_PORTS},
    {"slow_port_no_success_by_60s", {"--bus-ns=6000", "--key-at=60000", "378"},
     ECP_FOUND + BPP_OK + BANNER + report("3278400", "59") + SLOW_NO_SUCCESS, box(HEALTHY_ROW) + ECP_PORTS},
    {"key_before_success", {"--key-at=1000", "378"}, ECP_FOUND + BPP_OK + BANNER + report("571200", "0") + ENDED_EARLY,
     box(HEALTHY_ROW) + ECP_PORTS},
    // The display was switched on and cleared, then no pass ran.
    {"key_before_first_pass", {"--key-at=0", "378"}, ECP_FOUND + BPP_OK + BANNER + report("0", "0") + NEVER_DETECTED,
     box(BLANK_ROW) + ECP_PORTS},
    {"lcd_dies_mid_pass", {"--lcd=dead-after=100", "--key-at=20000", "378"},
     ECP_FOUND + BPP_OK + BANNER + LCD_STOPPED + report("3500", "0") + ENDED_EARLY, box(HEALTHY_ROW) + ECP_PORTS},
    // The tick counter wraps between the start tick and the success tick: the same times.
    {"tick_wraps_before_success", {"--tick-start=4294967000", "--key-at=20000", "378"},
     ECP_FOUND + BPP_OK + HEALTHY_RUN, box(HEALTHY_ROW) + ECP_PORTS},
    {"tick_wraps_on_a_slow_port", {"--tick-start=4294960000", "--bus-ns=6000", "--key-at=100000", "378"},
     ECP_FOUND + BPP_OK + SLOW_RUN, box(HEALTHY_ROW) + ECP_PORTS},
};

class SimProgram : public ::testing::TestWithParam<Case> {};

TEST_P(SimProgram, PrintsExactlyTheTranscriptAndLeavesThePortAsFound)
{
    const Case& c = GetParam();
    const SimRun run = runSim(c.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
}

INSTANTIATE_TEST_SUITE_P(Paths, SimProgram, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(SimProgramFaults, PortThatMissesTheBusyFlagLeavesWrongCharacters)
{
    const SimRun run = runSim({"--miss-busy=3000", "--key-at=2000", "378"});
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.out.rfind(ECP_FOUND + BPP_OK + BANNER, 0), 0U);
    // The display is on and shows digits, but not the ones written everywhere.
    EXPECT_NE(run.err.find("|0123456789"), std::string::npos) << run.err;
    EXPECT_NE(run.err, box(HEALTHY_ROW) + ECP_PORTS);
    EXPECT_NE(run.err.find(ECP_PORTS), std::string::npos);
}

TEST(SimProgramOptions, BadValueIsOneLineAndStatus2)
{
    const std::vector<std::string> bad[] = {
        {"--bus-ns=0", "378"},       {"--bus-ns=fast", "378"},    {"--bus-ns=1000001", "378"},
        {"--tick-start=4294967296"}, {"--tick-start=-1"},         {"--port=epp"},
        {"--at=12345"},              {"--at="},                   {"--lcd=dead-after="},
        {"--lcd=dead-after=x"},      {"--lcd=ks0066"},            {"--miss-busy=0"},
        {"--key-at"},                {"--key-at=soon"},           {"--show=yes"},
        {"--frobnicate", "378"},
    };
    for (const auto& args : bad) {
        const SimRun run = runSim(args);
        const std::string option = args[0].substr(0, args[0].find('='));
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
        // Names the option, as "lptlcd-sim: --bus-ns wants ..." or "... unknown option '--frobnicate' ...".
        EXPECT_TRUE(run.err.rfind("lptlcd-sim: " + option + " ", 0) == 0 ||
                    run.err.find("'" + option + "'") != std::string::npos)
            << args[0] << ": " << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << args[0] << ": " << run.err;
    }
}

TEST(SimProgramOptions, HelpListsEveryOption)
{
    const SimRun run = runSim({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* option : {"--port=", "--at=", "--lcd=", "--bus-ns=", "--tick-start=", "--miss-busy=", "--key-at=",
                               "--realtime", "--show", "ecp-spp-bidir", "ecp-no-bidir", "dead-after="}) {
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
    }
}

TEST(SimProgramOptions, ArgumentsAfterTheOptionsGoToTheProgramUnchanged)
{
    // An argument that is not a port address: the program's own error, with nothing of the bench.
    const SimRun bad = runSim({"--", "--bus-ns=5"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("lptlcd: '--bus-ns=5' is not a port address", 0), 0U) << bad.err;
    // Extra arguments after the port are the program's to ignore.
    const SimRun extra = runSim({"--port=none", "378", "--lcd=none", "x"});
    EXPECT_EQ(extra.out, "No Port Detected at 378.\n");
}

}  // namespace
