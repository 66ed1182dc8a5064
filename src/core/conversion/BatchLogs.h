#pragma once
// The engine logs a batch keeps: one folder per batch in the log folder,
// named for the moment the batch started (UTC, so the names sort in time),
// one log per Job in it. The last kKeptBatches batches stay; older folders go
// when a new batch starts. Only folders named like a batch's are ever removed.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"
#include "jobs/Job.h"
#include "platform/FileSystem.h"

namespace pelorine {

inline constexpr std::size_t kKeptBatches = 50;

// "2026-12-08_10-15-03Z": the name of a batch's folder started at `when`.
std::string batchFolderName(std::chrono::system_clock::time_point when);

// Whether `name` is a batch folder's name, with or without a "-<n>" suffix
// that tells apart batches started within the same second.
bool isBatchFolderName(std::string_view name);

// Of the folder entries `names`, the batch folders to remove so that at most
// `keep` remain: the oldest first. Other entries are never named.
std::vector<std::string> batchFoldersToRemove(std::vector<std::string> names, std::size_t keep);

// Creates the folder of a batch starting at `now` in `logFolder` (which ends
// in a separator and is created when missing), then removes the batches
// beyond the last kKeptBatches. `folder` gets the new folder, with a trailing
// separator.
Status startBatchLogs(platform::FileSystem& files, const std::string& logFolder,
                      std::chrono::system_clock::time_point now, std::string& folder);

// The log of the Job at `row` (0-based) of a batch: "03 holiday.log" in the
// batch's folder, named by its place and its source's title.
std::string jobLogPath(const std::string& batchFolder, std::size_t row, const Job& job);

// Why the engine failed, in its own words: the text of the last line of its
// log that reports a failure ("failed: ...", "zelvic: ..."); nothing when the
// log holds none.
std::optional<std::string> engineFailureReason(std::string_view logText);

}  // namespace pelorine
