// SPDX-License-Identifier: MIT
#pragma once

#include "src/model/page_file_dialogs.h"
#include "src/ui/message_boxes.h"

namespace kestrova {

// The page-file dialogs: filter "Kestrova Page File (*.kpf)", default suffix "kpf", asking
// before overwriting; failures shown as "can't save file!" / "can't load file!" captioned
// "error", without owner or icon, through the given message boxes. Test seam: a test
// overrides the two choose functions to answer with prepared paths (nothing = cancelled).
class QtPageFileDialogs : public PageFileDialogs {
  public:
    explicit QtPageFileDialogs(MessageBoxes& boxes) : boxes(boxes) {}

    std::optional<std::filesystem::path> chooseSavePath() override;
    std::optional<std::filesystem::path> chooseOpenPath() override;
    void showFileError(std::string_view text) override;

  private:
    MessageBoxes& boxes;
};

}  // namespace kestrova
