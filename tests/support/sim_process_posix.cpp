// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "src/platform/posix/unique_fd.h"
#include "tests/support/sim_process.h"

extern char** environ;

namespace kestrova::test {

std::vector<Transport> simTransports() {
    return {Transport::Tcp, Transport::Pty};
}

struct SimProcess::Child {
    pid_t pid = -1;
    UniqueFd output;
};

SimProcess::SimProcess(const std::vector<std::string>& args, const std::string& program)
    : child(std::make_unique<Child>()) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return;
    }
    child->output.reset(ends[0]);
    // Room for far more than any test prints, so the simulator never waits for a reader.
    ::fcntl(ends[0], F_SETPIPE_SZ, 1 << 20);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    // Forked rather than spawned, so that the child can ask to die with its parent.
    const pid_t parent = ::getpid();
    child->pid = ::fork();
    if (child->pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() == parent && ::dup2(ends[1], STDOUT_FILENO) >= 0 &&
            ::dup2(ends[1], STDERR_FILENO) >= 0) {
            ::execve(program.c_str(), argv.data(), environ);
        }
        ::_exit(127);
    }
    ::close(ends[1]);
    waitForLine("");
}

SimProcess::~SimProcess() {
    stop();
}

bool SimProcess::readOutput(std::chrono::milliseconds left) {
    pollfd watch{child->output.get(), POLLIN, 0};
    if (!child->output || ::poll(&watch, 1, static_cast<int>(left.count())) <= 0) {
        return false;
    }
    std::array<char, 4096> buffer;
    const ssize_t count = ::read(child->output.get(), buffer.data(), buffer.size());
    if (count <= 0) {
        child->output.reset();
        return false;
    }
    partial.append(buffer.data(), static_cast<std::size_t>(count));
    return true;
}

int SimProcess::stop(int signal) {
    if (child->pid <= 0) {
        return -1;
    }
    if (signal != 0) {
        ::kill(child->pid, signal);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (readMore(deadline)) {  // its output closes as it ends
    }
    if (child->output) {
        ::kill(child->pid, SIGKILL);  // it lingers
    }
    int status = 0;
    ::waitpid(std::exchange(child->pid, -1), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace kestrova::test
