// SPDX-License-Identifier: MIT
#include "tests/support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>

extern char** environ;

namespace kestrova::test {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> servedOn(Transport transport, const std::string& link,
                                  std::vector<std::string> args) {
    const std::vector<std::string> where = transport == Transport::Tcp
                                               ? std::vector<std::string>{"--port", "0"}
                                               : std::vector<std::string>{"--pty", "--link", link};
    args.insert(args.begin(), where.begin(), where.end());
    return args;
}

}  // namespace

SimProcess::SimProcess(Transport transport, const std::string& link, std::vector<std::string> args)
    : SimProcess(servedOn(transport, link, std::move(args))) {}

SimProcess::SimProcess(const std::vector<std::string>& args, const std::string& program) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return;
    }
    output.reset(ends[0]);
    // Room for far more than any test prints, so the simulator never waits for a reader.
    ::fcntl(ends[0], F_SETPIPE_SZ, 1 << 20);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    // Forked rather than spawned, so that the child can ask to die with its parent.
    const pid_t parent = ::getpid();
    child = ::fork();
    if (child == 0) {
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

bool SimProcess::readMore(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd watch{output.get(), POLLIN, 0};
    if (!output ||
        ::poll(&watch, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0))) <= 0) {
        return false;
    }
    std::array<char, 4096> buffer;
    const ssize_t count = ::read(output.get(), buffer.data(), buffer.size());
    if (count <= 0) {
        output.reset();
        return false;
    }
    partial.append(buffer.data(), static_cast<std::size_t>(count));
    for (auto end = partial.find('\n'); end != std::string::npos; end = partial.find('\n')) {
        done.push_back(partial.substr(0, end));
        partial.erase(0, end + 1);
    }
    return true;
}

std::uint16_t SimProcess::port() {
    constexpr std::string_view kPrefix = "listening on 127.0.0.1:";
    const auto at = findLine(kPrefix);
    return at ? static_cast<std::uint16_t>(std::stoul(done[*at].substr(kPrefix.size()))) : 0;
}

std::vector<std::string> SimProcess::lines() {
    while (readMore(Clock::now())) {
    }
    return done;
}

std::optional<std::size_t> SimProcess::waitForLine(std::string_view text, std::size_t from,
                                                   std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (std::size_t i = from;; ++i) {
        while (i >= done.size()) {
            if (!readMore(deadline)) {
                return std::nullopt;
            }
        }
        if (done[i].find(text) != std::string::npos) {
            return i;
        }
    }
}

int SimProcess::stop(int signal) {
    if (child <= 0) {
        return -1;
    }
    if (signal != 0) {
        ::kill(child, signal);
    }
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (readMore(deadline)) {  // its output closes as it ends
    }
    if (output) {
        ::kill(child, SIGKILL);  // it lingers
    }
    int status = 0;
    ::waitpid(std::exchange(child, -1), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace kestrova::test
