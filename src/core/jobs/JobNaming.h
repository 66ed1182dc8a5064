#pragma once
// Names and times of new and edited Jobs: the generated output name with its
// clash rule, and the clip times typed as hh:mm:ss.xx.

#include <functional>
#include <optional>
#include <string>

#include "base/Status.h"
#include "jobs/JobList.h"

namespace pelorine {

// Five random digits: a number below 1000 as three digits, then one below
// 100 as two ("04217"). `random` gives non-negative integers.
std::string randomDigits(const std::function<int()>& random);

// The source's title: its file name without the extension.
std::string sourceTitle(const std::string& sourcePath);

// The output path of a new Job: the folder (a separator added unless it ends
// in one), the base name and the extension. A path that another Job already
// has gets "_1" added to the base, once for each clash, in list order.
std::string newOutputPath(const JobList& jobs, const std::string& folder, std::string base,
                          const std::string& extension);

// Whether a Job with this source is in the list already (compared exactly).
bool hasSource(const JobList& jobs, const std::string& sourcePath);

// The clip typed into the grid, checked as a user expects: both texts exactly
// hh:mm:ss.xx in digits with minutes and seconds below 60, the start before
// the end, and the end within the source's `duration` (as its time text shows
// it). The error names the row and says what is expected.
Status checkTypedClip(const std::string& startText, const std::string& endText, double duration,
                      std::pair<double, double>& clip);

}  // namespace pelorine
