#pragma once
// Child processes and an X server of their own, for the tests that run the real game in a window.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace pikora::test {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

inline bool WaitFor(const std::function<bool()>& Done, Clock::duration Limit) {
  for (const auto Deadline = Clock::now() + Limit; Clock::now() < Deadline; std::this_thread::sleep_for(20ms))
    if (Done()) return true;
  return Done();
}

// A child process, killed if the test leaves before it ends. Set changes the environment (an
// empty value removes a variable). Output goes to OutFd, or with the errors to Log; stdout is
// dropped and stderr kept otherwise.
struct Child {
  pid_t Pid = -1;
  int Status = -1;  // once ended: the exit status, -1 for a signal

  Child(const std::vector<std::string>& Argv, const std::map<std::string, std::string>& Set = {}, int OutFd = -1,
        const std::string& Log = "") {
    std::vector<std::string> Env;
    for (char** E = environ; *E; ++E)
      if (const std::string Entry = *E; !Set.count(Entry.substr(0, Entry.find('=')))) Env.push_back(Entry);
    for (const auto& [Name, Value] : Set)
      if (!Value.empty()) Env.push_back(Name + "=" + Value);
    std::vector<char*> A, E;
    for (const auto& S : Argv) A.push_back(const_cast<char*>(S.c_str()));
    for (const auto& S : Env) E.push_back(const_cast<char*>(S.c_str()));
    A.push_back(nullptr);
    E.push_back(nullptr);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    if (!Log.empty()) posix_spawn_file_actions_addopen(&Actions, 2, Log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (OutFd >= 0) posix_spawn_file_actions_adddup2(&Actions, OutFd, 1);
    else if (!Log.empty()) posix_spawn_file_actions_adddup2(&Actions, 2, 1);
    else posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&Pid, A[0], &Actions, nullptr, A.data(), E.data()) != 0) Pid = -1;
    posix_spawn_file_actions_destroy(&Actions);
  }
  Child(const Child&) = delete;
  ~Child() {
    if (Pid > 0) kill(Pid, SIGKILL), Wait(5s);
  }
  bool Running() {
    int S = 0;
    if (Pid <= 0 || waitpid(Pid, &S, WNOHANG) != Pid) return Pid > 0;
    Pid = -1;
    Status = WIFEXITED(S) ? WEXITSTATUS(S) : -1;
    return false;
  }
  // The exit status; -1 also for a child still running after Limit.
  int Wait(Clock::duration Limit) { return WaitFor([&] { return !Running(); }, Limit) ? Status : -1; }
};

// Runs a tool to its end (30 s at most) and returns what it printed.
inline std::string RunTool(const std::vector<std::string>& Argv, const std::map<std::string, std::string>& Set = {},
                           int* Status = nullptr) {
  int Pipe[2];
  if (pipe2(Pipe, O_CLOEXEC) != 0) return {};
  Child Tool(Argv, Set, Pipe[1]);
  close(Pipe[1]);
  std::string Out;
  char Buffer[512];
  pollfd In{Pipe[0], POLLIN, 0};
  for (ssize_t N = 1; N > 0 && poll(&In, 1, 30000) > 0;)
    if ((N = read(Pipe[0], Buffer, sizeof Buffer)) > 0) Out.append(Buffer, size_t(N));
  close(Pipe[0]);
  const int Ended = Tool.Wait(1s);
  if (Status) *Status = Ended;
  return Out;
}

// Xvfb on a display it finds free and names once ready. Stopped politely: killed outright it
// would leave its lock file behind.
struct XServer {
  explicit XServer(const std::string& Log = "") : Server(Start(), {}, -1, Log) {
    close(Pipe[1]);
    pollfd Ready{Pipe[0], POLLIN, 0};
    char Number[16] = {};
    if (poll(&Ready, 1, 10000) > 0 && read(Pipe[0], Number, sizeof Number - 1) > 0)
      Display = ":" + std::to_string(std::atoi(Number));
    close(Pipe[0]);
  }
  ~XServer() {
    if (Server.Pid > 0) kill(Server.Pid, SIGTERM), Server.Wait(10s);
  }
  int Pipe[2] = {-1, -1};
  Child Server;
  std::string Display;  // "" when the server did not start

 private:
  std::vector<std::string> Start() {
    if (pipe(Pipe) != 0) return {"false"};
    return {"Xvfb", "-displayfd", std::to_string(Pipe[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp"};
  }
};

}  // namespace pikora::test
