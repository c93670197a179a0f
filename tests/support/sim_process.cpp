// SPDX-License-Identifier: MIT
#include "tests/support/sim_process.h"

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

bool SimProcess::readMore(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (!readOutput(std::max(left, std::chrono::milliseconds(0)))) {
        return false;
    }
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

}  // namespace kestrova::test
