// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first-start rules: which sample files the player's data folder gets,
// and when it gets none.
#include "core/FileFormat.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace launcher {

// The reference data the program reads; they belong together as one set.
inline constexpr const auto& ReferenceFiles = glyphmoor::ReferenceFileNames;

struct FirstStartResult {
    std::vector<std::string> copied;   // sample files added to the folder
    std::vector<std::string> own;      // reference files that differ from the samples: the player's
    std::vector<std::string> missing;  // reference files the folder still lacks
    std::vector<std::string> noSample; // of those, the ones the samples lack too
    std::string failure;               // why the samples could not be copied, if they could not
};

// Gives `folder` the sample reference data from `samples`:
// - leftovers of a launcher that was killed while copying (".<name>.partial.<pid>"
//   of a process that is gone) are removed;
// - a folder that holds none of the three files, or only files byte-identical
//   to the samples, gets the missing ones: all are copied into a temporary
//   folder beside them first and then moved in, never over a file;
// - a folder that holds one file that differs from its sample holds the
//   player's own data: nothing is added to it, so samples are never mixed with
//   the player's files (they are reported in `missing`);
// - nothing is copied unless every missing file has its sample.
// Apart from those leftovers, no file that is already there is ever replaced,
// changed or removed.
FirstStartResult PrepareDataFolder(const std::filesystem::path& folder, const std::filesystem::path& samples,
                                   const std::function<bool(long)>& processRunning, long ownPid);

// What to tell the player when PrepareDataFolder left the folder without a full set.
std::string Advice(const FirstStartResult& result, const std::filesystem::path& folder,
                   const std::filesystem::path& samples);

} // namespace launcher
