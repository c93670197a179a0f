// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kestrova {

// What saving and loading a page file needs from the user interface: a path chosen by the
// user (nothing when cancelled) and a way to report a failure. The editor shows file dialogs
// and message boxes; tests answer with prepared paths and record the reports.
class PageFileDialogs {
  public:
    virtual ~PageFileDialogs() = default;
    virtual std::optional<std::filesystem::path> chooseSavePath() = 0;
    virtual std::optional<std::filesystem::path> chooseOpenPath() = 0;
    virtual void showFileError(std::string_view text) = 0;
};

}  // namespace kestrova
