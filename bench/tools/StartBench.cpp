// velmaris-tool's start-up: `velmaris-tool --version` as a whole process,
// from the spawn to its exit (loading its shared libraries is most of it),
// against the goal of 15 ms (`of_goal`: the goal over the time per run).

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr double kVersionGoalSeconds = 0.015;

void BM_ToolVersion(benchmark::State& bench)
{
    std::string program = std::string(VELMARIS_BINARY_DIR) + "/bin/velmaris-tool";
    std::string flag = "--version";
    char* argv[] = {program.data(), flag.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : bench) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0
            || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            bench.SkipWithError("velmaris-tool --version did not run");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    bench.counters["of_goal"]
        = benchmark::Counter(kVersionGoalSeconds * double(bench.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ToolVersion)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
