// SPDX-License-Identifier: MIT
#include "support/sim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

extern char** environ;

namespace kestrova::test {

namespace {

using Clock = std::chrono::steady_clock;

int exitStatus(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

}  // namespace

std::string simulatorPath() {
    return KESTROVA_SIM_PATH;
}

SimProcess::SimProcess(const std::vector<std::string>& args,
                       std::chrono::milliseconds startTimeout) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return;
    }
    const std::string program = simulatorPath();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    // Forked rather than spawned, so that the child can ask to die with its parent: a test
    // that crashes or is killed by a time-out never leaves a simulator behind.
    const pid_t parent = ::getpid();
    child = ::fork();
    if (child == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent || ::dup2(ends[1], STDOUT_FILENO) < 0) {
            ::_exit(127);
        }
        ::execve(program.c_str(), argv.data(), environ);
        ::_exit(127);
    }
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        return;
    }
    reader = std::thread(&SimProcess::readOutput, this, ends[0]);
    std::unique_lock lock(mutex);
    arrived.wait_for(lock, startTimeout, [this] { return !output.empty() || outputClosed; });
}

SimProcess::~SimProcess() {
    if (child > 0) {
        stop(std::chrono::seconds(5));
    }
    if (reader.joinable()) {
        reader.join();
    }
}

// Until the child's output closes, which its end (or a kill) brings about.
void SimProcess::readOutput(int fd) {
    std::string partial;
    std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        partial.append(buffer.data(), static_cast<std::size_t>(count));
        std::lock_guard lock(mutex);
        for (auto end = partial.find('\n'); end != std::string::npos; end = partial.find('\n')) {
            output.push_back(partial.substr(0, end));
            partial.erase(0, end + 1);
        }
        arrived.notify_all();
    }
    ::close(fd);
    std::lock_guard lock(mutex);
    outputClosed = true;
    arrived.notify_all();
}

std::uint16_t SimProcess::port() const {
    constexpr std::string_view kPrefix = "listening on 127.0.0.1:";
    const std::string first = line(0);
    if (!first.starts_with(kPrefix)) {
        return 0;
    }
    return static_cast<std::uint16_t>(std::stoul(first.substr(kPrefix.size())));
}

std::string SimProcess::ptyPath() const {
    constexpr std::string_view kPrefix = "pty ";
    std::lock_guard lock(mutex);
    for (auto it = output.rbegin(); it != output.rend(); ++it) {
        if (it->starts_with(kPrefix)) {
            return it->substr(kPrefix.size());
        }
    }
    return {};
}

std::vector<std::string> SimProcess::lines() const {
    std::lock_guard lock(mutex);
    return output;
}

std::size_t SimProcess::lineCount() const {
    std::lock_guard lock(mutex);
    return output.size();
}

std::string SimProcess::line(std::size_t index) const {
    std::lock_guard lock(mutex);
    return index < output.size() ? output[index] : std::string();
}

std::optional<std::size_t> SimProcess::findLine(std::string_view text, std::size_t from) const {
    std::lock_guard lock(mutex);
    for (std::size_t i = from; i < output.size(); ++i) {
        if (output[i].find(text) != std::string::npos) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> SimProcess::waitForLine(std::string_view text, std::size_t from,
                                                   std::chrono::milliseconds timeout) const {
    const auto deadline = Clock::now() + timeout;
    std::unique_lock lock(mutex);
    std::optional<std::size_t> found;
    arrived.wait_until(lock, deadline, [&] {
        for (std::size_t i = from; i < output.size() && !found; ++i) {
            if (output[i].find(text) != std::string::npos) {
                found = i;
            }
        }
        return found.has_value();
    });
    return found;
}

int SimProcess::stop(std::chrono::milliseconds timeout, int signal) {
    if (child <= 0) {
        return -1;
    }
    ::kill(child, signal);
    return reap(timeout);
}

int SimProcess::finish(std::chrono::milliseconds timeout) {
    return child > 0 ? reap(timeout) : -1;
}

int SimProcess::reap(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            child = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    child = -1;
    if (reader.joinable()) {
        reader.join();  // the child's output is closed now; take in its last lines
    }
    return exitStatus(status);
}

}  // namespace kestrova::test
