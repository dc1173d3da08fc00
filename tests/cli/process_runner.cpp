#include "process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

namespace huecode::test {

namespace {

struct Pipe {
  int read = -1;
  int write = -1;
};

Pipe MakePipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  return {fds[0], fds[1]};
}

// Starts the program with the pipes as its standard streams and the
// environment changed as asked (NAME=value sets, a bare NAME removes).
pid_t StartChild(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& extraEnv, const Pipe& in, const Pipe& out,
                 const Pipe& err) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) {
    argv.push_back(const_cast<char*>(arg.c_str()));
  }
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) {
    throw std::runtime_error("fork failed");
  }
  if (pid == 0) {
    dup2(in.read, STDIN_FILENO);
    dup2(out.write, STDOUT_FILENO);
    dup2(err.write, STDERR_FILENO);
    for (const std::string& entry : extraEnv) {
      if (entry.find('=') == std::string::npos) {
        unsetenv(entry.c_str());
      } else {
        putenv(const_cast<char*>(entry.c_str()));
      }
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

// Feeds the child's standard input and reads both its outputs at once until
// all three are closed, so that neither side waits for the other.
void Exchange(int stdinFd, int outFd, int errFd, const std::string& stdinBytes,
              ProcessResult& result) {
  std::size_t written = 0;
  std::array<pollfd, 3> fds{{{outFd, POLLIN, 0}, {errFd, POLLIN, 0}, {stdinFd, POLLOUT, 0}}};
  std::string* sinks[] = {&result.out, &result.err};
  while (fds[0].fd >= 0 || fds[1].fd >= 0 || fds[2].fd >= 0) {
    if (poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw std::runtime_error("poll failed");
    }
    for (std::size_t k = 0; k < 2; ++k) {
      if (fds[k].fd >= 0 && (fds[k].revents & (POLLIN | POLLHUP | POLLERR))) {
        char buffer[65536];
        const ssize_t count = read(fds[k].fd, buffer, sizeof buffer);
        if (count > 0) {
          sinks[k]->append(buffer, static_cast<std::size_t>(count));
        } else {
          close(fds[k].fd);
          fds[k].fd = -1;
        }
      }
    }
    if (fds[2].fd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t count =
          write(fds[2].fd, stdinBytes.data() + written, stdinBytes.size() - written);
      if (count > 0) {
        written += static_cast<std::size_t>(count);
      }
      if (count <= 0 || written == stdinBytes.size()) {
        close(fds[2].fd);
        fds[2].fd = -1;
      }
    }
  }
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& stdinBytes, const std::vector<std::string>& extraEnv) {
  // A child that exits before reading all its input must not kill the test with SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  const Pipe in = MakePipe();
  const Pipe out = MakePipe();
  const Pipe err = MakePipe();
  const pid_t pid = StartChild(program, args, extraEnv, in, out, err);
  close(in.read);
  close(out.write);
  close(err.write);

  ProcessResult result;
  int stdinFd = in.write;
  if (stdinBytes.empty()) {
    close(stdinFd);
    stdinFd = -1;
  }
  Exchange(stdinFd, out.read, err.read, stdinBytes, result);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace huecode::test
