#pragma once
// Copying finished outputs to the memory stick, so that an unplugged stick,
// a full one or a failing write never leaves a half file that looks whole:
// each file is written under "<name>.part" beside its place, read back and
// compared with the original, and only then renamed to its name (a rename
// that never replaces a file). A failed copy removes its partial file; the
// original in the output folder is only ever read.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"

namespace pelorine::handheld {

struct CopyStep {
    std::string from;  // the output (or its thumbnail)
    std::string to;    // its place on the stick
};

struct CopyPlan {
    std::string handheldRoot;
    std::vector<CopyStep> steps;
    std::uint64_t bytes = 0;  // what the steps copy, in all
};

// Bytes copied so far and in all, for a progress bar.
using CopyProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;
// Whether the user asked the copy to stop; empty: never.
using StopAsked = std::function<bool()>;

// "12.3 MB" (1024-based, one decimal; bytes below 1 KB as "512 bytes").
std::string sizeText(std::uint64_t bytes);

// Room the copies take on a FAT stick: each file rounded up to 32 KB clusters.
std::uint64_t roomNeeded(const CopyPlan& plan, const platform::LargeFiles& files);

// Whether the stick can take the plan: not read-only, room enough. The
// message says why not, with the sizes.
Status checkHandheld(const CopyPlan& plan, const platform::LargeFiles& files);

class HandheldCopier {
public:
    HandheldCopier(platform::LargeFiles& files, platform::FileSystem& folders)
        : files_(files), folders_(folders) {}

    // Copies every step in order; stops at the first failure or when `stop`
    // becomes true, leaving the copies made before it in place. `progress`
    // is called after every piece copied.
    Status copy(const CopyPlan& plan, const CopyProgress& progress, const StopAsked& stop = {});

    // The steps that were completed by the last copy().
    std::size_t completed() const { return completed_; }

private:
    Status copyOne(const CopyStep& step, std::uint64_t& done, std::uint64_t total,
                   const CopyProgress& progress, const StopAsked& stop);
    Status writeAndCheck(const CopyStep& step, const std::string& partial, std::uint64_t& done,
                         std::uint64_t total, const CopyProgress& progress, const StopAsked& stop);

    platform::LargeFiles& files_;
    platform::FileSystem& folders_;
    std::size_t completed_ = 0;
};

// A copy's partial name.
std::string partialCopyPath(const std::string& to);

}  // namespace pelorine::handheld
