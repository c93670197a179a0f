// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "src/model/page_record.h"
#include "tools/board/output_file.h"

namespace kestrova::board {

// Where the pages of one backup go, so that a folder never mixes runs: the whole set of pages
// is written to a new folder beside the target first, and that folder then takes the
// target's place by renames of folders, the old one kept until the new one is in place. A run
// that fails leaves the target as it was and its pages in the new folder, whose name
// ("my-robot.incomplete") says what it holds. index.txt always lists exactly the page files
// beside it.
class BackupFolder {
  public:
    // A target named with a trailing separator is the same folder; a link to a folder stands
    // for the folder it names, which is the one replaced (the link stays).
    BackupFolder(const std::filesystem::path& target, const SaveRules& rules)
        : target(followed(target.has_filename() ? target : target.parent_path())), rules(rules) {}

    // What keeps the target from taking a backup at all (it is a file): empty when nothing.
    std::string unusable() const;
    // Stores a whole set of pages as the target. Empty on success, else the lines that say
    // what kept it and where the pages are.
    std::vector<std::string> store(const std::vector<PageRecord>& pages) const;
    // Writes the pages of a run that failed beside the target; the folder they are in, or
    // why they could not be kept.
    std::string keepIncomplete(const std::vector<PageRecord>& pages) const;

  private:
    static std::filesystem::path followed(const std::filesystem::path& folder);
    // Files of the target that the pages would replace: those that are no files, and, unless
    // --force was given, those that differ from them.
    std::vector<std::string> refusals(const std::vector<PageRecord>& pages) const;
    // The complete folder `staging` becomes the target; empty on success.
    std::string swapIn(const std::filesystem::path& staging) const;
    std::filesystem::path freeFolderBeside(const std::string& suffix) const;

    std::filesystem::path target;
    SaveRules rules;
};

}  // namespace kestrova::board
