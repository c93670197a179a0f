// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "src/model/page_record.h"
#include "tools/board/output_file.h"

namespace kestrova::board {

// Where the pages of one backup go, so that a folder never mixes runs: the pages are written
// to a new folder beside the target first, and only a whole set of pages moves into the
// target. A run that fails leaves the target as it was and its pages in the new folder, whose
// name ("my-robot.incomplete") says what it holds. index.txt always lists exactly the page
// files beside it.
class BackupFolder {
  public:
    // A target named with a trailing separator is the same folder.
    BackupFolder(const std::filesystem::path& target, const SaveRules& rules)
        : target(target.has_filename() ? target : target.parent_path()), rules(rules) {}

    // What keeps the target from taking a backup at all (it is a file): empty when nothing.
    std::string unusable() const;
    // Files of the target that the pages would replace although they differ from them, and
    // --force was not given: nothing may be written then.
    std::vector<std::string> refusals(const std::vector<PageRecord>& pages) const;
    // Writes a whole set of pages into the target. Empty on success, else what failed and
    // where the pages are.
    std::string store(const std::vector<PageRecord>& pages) const;
    // Writes the pages of a run that failed beside the target; the folder they are in, or
    // why they could not be kept.
    std::string keepIncomplete(const std::vector<PageRecord>& pages) const;

  private:
    std::filesystem::path freeIncompleteFolder() const;

    std::filesystem::path target;
    SaveRules rules;
};

}  // namespace kestrova::board
