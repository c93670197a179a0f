// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "src/model/page_file.h"
#include "src/model/page_record.h"
#include "src/profile/robot_profile.h"
#include "src/serial/port_devices.h"
#include "tools/board/board_link.h"
#include "tools/board/output_file.h"
#include "tools/board/report.h"

namespace kestrova::board {

struct LinkSettings {
    PortDevice device;
    std::uint32_t baudRate = 0;
    LinkTiming timing;
};

// The commands that talk to the board. Only restore, write and play send it pages; the link
// is opened when a command first needs it.
class BoardCommands {
  public:
    // `rules`: whether read and backup may replace files that hold something else, and the
    // flush that makes every file written durable.
    BoardCommands(const LinkSettings& settings, const SaveRules& rules, Report& report)
        : settings(settings), rules(rules), report(report) {}

    // From now on restore, write and play refuse a page outside these limits before anything is
    // sent.
    void refuseOutsideLimits(const RobotProfile& profile) { limits = profile; }

    void backup(const std::filesystem::path& folder);
    // Every page of a backup folder, or only those named.
    void restore(const std::filesystem::path& folder, const std::vector<int>& pages = {});
    void read(int number, const std::filesystem::path& file);
    void write(const std::filesystem::path& file);
    void verify(const std::filesystem::path& file);
    // A page file, or the number of a page stored on the board.
    void play(const std::string& fileOrNumber);

  private:
    BoardLink* link();
    std::optional<PageRecord> load(const std::filesystem::path& file);
    std::optional<PageRecord> readBack(int number, const std::string& what);
    void writeAndVerify(const PageRecord& page, const std::string& source);
    // Reports each value outside the limits; false when there is one.
    using SourcedPage = std::pair<std::string, PageRecord>;
    bool withinLimits(const std::vector<SourcedPage>& pages);

    LinkSettings settings;
    SaveRules rules;
    Report& report;
    std::unique_ptr<BoardLink> board;
    bool linkTried = false;
    std::optional<RobotProfile> limits;
};

// show FILE|DIR: nothing reaches the board.
void show(const std::filesystem::path& fileOrFolder, bool asJson, std::ostream& out,
          Report& report);

}  // namespace kestrova::board
