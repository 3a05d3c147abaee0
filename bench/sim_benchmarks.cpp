// How fast the bench simulates. The goal: at least 100 million simulated port accesses a second,
// and `lptlcd-sim --key-at=20000 378` (about 20 million accesses) well under a second of wall time.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "driver/driver.h"
#include "lcd/lcd.h"
#include "port/port.h"
#include "sim/sim_clock.h"
#include "sim/sim_session.h"

extern char** environ;

namespace {

// A healthy ECP port and module, past the power-up reset and initialised, ready for passes.
void initialisedBench()
{
    setPortAddresses(0x378);
    startSimulation(SimOptions{});
    writePort(ecrPort, 0x34);  // PS/2 byte mode: the direction bit works
    lcdStuck = false;
    if (!probeLcd()) {
        std::abort();
    }
    lcdInit();
}

void reportAccesses(benchmark::State& state, uint64_t startNs)
{
    const double accesses = static_cast<double>((simNowNs - startNs) / simBusNs);
    state.counters["accesses"] = benchmark::Counter(accesses, benchmark::Counter::kIsRate);
}

// Status reads of the released data lines while the module is busy: the busy-flag polling loop.
void BM_StatusRead(benchmark::State& state)
{
    initialisedBench();
    writePort(controlPort, CTRL_STATUS_READ);
    const uint64_t start = simNowNs;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readPort(basePort));
    }
    reportAccesses(state, start);
}
BENCHMARK(BM_StatusRead);

// The driver's own stress pass on the bench: 84 instructions and 160 characters, each with its
// busy-flag wait, about 9,760 accesses.
void BM_StressPass(benchmark::State& state)
{
    initialisedBench();
    const uint64_t start = simNowNs;
    for (auto _ : state) {
        benchmark::DoNotOptimize(runStressPass());
    }
    reportAccesses(state, start);
}
BENCHMARK(BM_StressPass);

// The whole program as a user runs it, process start to exit: classification, 2048 passes to the
// key at 20 s of simulated time, report and restore.
void BM_FullHealthyRun(benchmark::State& state)
{
    char program[] = LPTLCD_SIM_PATH;
    char keyAt[] = "--key-at=20000";
    char port[] = "378";
    char* argv[] = {program, keyAt, port, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("lptlcd-sim did not run to a clean exit");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_FullHealthyRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
