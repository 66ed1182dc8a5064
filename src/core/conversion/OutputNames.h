#pragma once
// The names of the files a Job's engine runs write. The command lines, the
// job list's "Output" cell, the overwrite check, the clean-up of an earlier
// run's parts and the end message all take them from here, so what the user
// is shown is what lands on the disk.
//
// A Job converted whole writes "<base>.<format>", where the base is its output
// path without the extension and the format is its "Output format" text as
// stored ("M4V12345.MP4" is written as "M4V12345.mp4"). A clip that is not
// split writes the output path exactly as stored. A split Job (a "Split"
// other than "Not split", never an MP3 output) writes parts
// "<base>_clip_1.<format>", "<base>_clip_2.<format>", ... (a clip too).

#include <string>

#include "jobs/Job.h"
#include "jobs/JobSettings.h"

namespace pelorine {

// What stands between the base and the number of a part.
inline constexpr const char* kPartMarker = "_clip_";

// The output path up to its extension's dot. Only a dot in the file name
// counts: a dot in a folder name is no extension. Without an extension the
// whole path is the base.
std::string outputBasePath(const std::string& outputPath);

// "<base>.<format>".
std::string wholeOutputPath(const std::string& basePath, const std::string& format);
// "<base>_clip_<part>.<format>", part counted from 1.
std::string partOutputPath(const std::string& basePath, int part, const std::string& format);

// The file of the Job's first (for a Job that is not split, its only) run.
std::string firstOutputPath(const JobSettings& settings);
std::string firstOutputPath(const Job& job);

// The "Output" cell of the job list: the file the Job writes, or for a split
// Job its first part followed by the name pattern of the others,
// "/out/M4V12345_clip_1.mp4, _clip_2.mp4, ...".
std::string outputCellText(const Job& job);

}  // namespace pelorine
