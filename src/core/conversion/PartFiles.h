#pragma once
// The files an earlier run of a split Job may have left in its output folder:
// parts under their final names ("base_clip_3.mp4"), parts kept after a stop
// ("base_clip_2 (stopped at 01m44s).mp4") and the engine's unfinished files
// ("base_clip_4.mp4.part"). A rerun that may overwrite removes them all, so
// new parts never stand beside old ones.

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace pelorine {

enum class PartFileKind { Final, Stopped, Unfinished };

// What `fileName` (a name, no folder) is among the part files of the base
// file name `base` (no folder, no extension) with extension `format`;
// nothing when it is none of them.
std::optional<PartFileKind> partFileKind(const std::string& fileName, const std::string& base,
                                         const std::string& format);

struct PartFiles {
    std::vector<std::string> finals;  // full paths, sorted
    std::vector<std::string> others;  // stopped and unfinished parts, full paths, sorted
};

// The part files of `basePath` (the output path without its extension) that
// exist in its folder.
PartFiles findPartFiles(const std::string& basePath, const std::string& format,
                        const platform::FileSystem& files);

}  // namespace pelorine
