// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>

namespace kestrova {

// The page-file paths the user chooses for To PC Save and Load; nothing when cancelled. Test
// seam: a test answers with prepared paths.
class PageFileDialogs {
  public:
    virtual ~PageFileDialogs() = default;
    virtual std::optional<std::filesystem::path> chooseSavePath() = 0;
    virtual std::optional<std::filesystem::path> chooseOpenPath() = 0;
    // A robot profile to open, or to save as.
    virtual std::optional<std::filesystem::path> chooseProfilePath(bool save) = 0;
};

// The real dialogs: filter "Kestrova Page File (*.kpf)", default suffix "kpf", asking before
// overwriting.
class QtPageFileDialogs : public PageFileDialogs {
  public:
    std::optional<std::filesystem::path> chooseSavePath() override;
    std::optional<std::filesystem::path> chooseOpenPath() override;
    // Filter "Robot Profile (*.kprofile.json)".
    std::optional<std::filesystem::path> chooseProfilePath(bool save) override;
};

}  // namespace kestrova
