#include "tools/mksetup/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/error.h"

extern char** environ;

namespace mksetup {
namespace {

// Closes what it holds when it goes out of scope, so that an early throw leaks nothing.
class Fd {
public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { Close(); }
  int get() const { return fd_; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

private:
  int fd_;
};

class SpawnActions {
public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  posix_spawn_file_actions_t* get() { return &actions_; }

private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

ProcessOutcome RunProcess(const std::vector<std::string>& argv) {
  if (argv.empty()) throw base::Error("no program to run");
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) throw base::Error("cannot make a pipe");
  Fd read_end(ends[0]);
  Fd write_end(ends[1]);

  // Nothing is read from a terminal: a program that would ask for a password fails instead of
  // waiting for an answer nobody sees.
  SpawnActions actions;
  posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(actions.get(), write_end.get(), 1);
  posix_spawn_file_actions_adddup2(actions.get(), write_end.get(), 2);

  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = ::posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ);
  if (spawned != 0) {
    throw base::Error(
        base::FormatText("cannot run %s: %s", {argv[0], std::strerror(spawned)}));
  }
  write_end.Close();  // or the read below never sees the end

  ProcessOutcome outcome;
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(read_end.get(), chunk, sizeof chunk);
    if (n > 0) {
      outcome.output.append(chunk, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw base::Error(base::FormatText("lost track of %s", {argv[0]}));
  }
  outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return outcome;
}

}  // namespace mksetup
