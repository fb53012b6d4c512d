// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the program: from the process start to the login window painted.
// The program prints one line at that moment when FONDARO_STARTUP_PROBE=1.
// Without a display the offscreen platform is used; with one, the real one.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The program sits in the build folder, one level above bench/.
std::string programPath() {
  char self[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return {};
  std::string p(self, size_t(n));
  p = p.substr(0, p.rfind('/'));  // .../bench
  p = p.substr(0, p.rfind('/'));  // the build folder
  return p + "/fondaro";
}

std::vector<std::string> childEnvironment() {
  std::vector<std::string> env;
  bool platform = false;
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "FONDARO_STARTUP_PROBE=", 22) == 0) continue;
    if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) == 0) platform = true;
    env.emplace_back(*e);
  }
  const char* display = std::getenv("DISPLAY");
  if (!platform && !(display && *display)) env.emplace_back("QT_QPA_PLATFORM=offscreen");
  env.emplace_back("FONDARO_STARTUP_PROBE=1");
  return env;
}

void BM_StartToLoginWindow(benchmark::State& state) {
  const std::string exe = programPath();
  if (access(exe.c_str(), X_OK) != 0) {
    state.SkipWithError(("no program at " + exe).c_str());
    return;
  }
  std::vector<std::string> envText = childEnvironment();
  std::vector<char*> envp;
  for (std::string& s : envText) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::string arg0 = exe;
  char* argv[] = {arg0.data(), nullptr};

  for (auto _ : state) {
    int out[2];
    if (pipe(out) != 0) {
      state.SkipWithError("pipe failed");
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int rc = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
      close(out[0]);
      state.SkipWithError("cannot start the program");
      return;
    }
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    const auto shown = std::chrono::steady_clock::now();
    close(out[0]);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (line.find("login window shown") == std::string::npos) {
      state.SkipWithError("the program ended before showing the login window");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const char* display = std::getenv("DISPLAY");
  state.SetLabel(platform && *platform ? platform : (display && *display ? "display" : "offscreen"));
}

BENCHMARK(BM_StartToLoginWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
