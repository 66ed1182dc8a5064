#pragma once
// Project files (".vpt"): the whole job list, every Job with all its fields.
//
// Layout: a 32-bit Job count, then that many Job records, then nothing. A
// record is the Job's fields in their declared order, except that the two
// quantizer texts come last; texts are length-prefixed strings, the clip times
// and the length doubles, the rest 32-bit integers (see RecordCoding.h). There
// is no magic number, version or checksum, so a record's end is only found by
// decoding every field.
//
// Reading checks the whole file before it builds a single Job: a file that is
// cut short anywhere, promises more Jobs than it holds, carries bytes after
// its last record or holds a value no Job can have is refused as a whole, and
// the checking allocates nothing, so a count or length from a damaged file
// can never make the reader ask for more memory than the file holds.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Status.h"
#include "jobs/Job.h"
#include "jobs/JobList.h"
#include "platform/FileSystem.h"
#include "project/DocumentFiles.h"

namespace pelorine {

inline constexpr const char* kProjectSavedMessage = "Project saved!";
inline constexpr const char* kSaveFailedMessage = "Failed!";
inline constexpr const char* kCommandFailedMessage = "Command failed.";
inline constexpr const char* kProjectFilter = "Project Files(*.vpt)|*.vpt||";
inline constexpr const char* kOpenProjectFilter = "Project Files|*.vpt||";
inline constexpr const char* kProjectExtension = "vpt";

// The file's bytes for `jobs`, in order. Fails only for a text too long for
// the format (beyond 4 GiB).
Status encodeProject(std::span<const Job* const> jobs, std::vector<std::uint8_t>& bytes);
Status encodeProject(const JobList& jobs, std::vector<std::uint8_t>& bytes);

// The Jobs of a project file, exactly as stored, or an error saying where the
// file is damaged. `jobs` is only changed when the whole file is sound.
Status decodeProject(std::span<const std::uint8_t> bytes, std::vector<Job>& jobs);

// What opening a project file gave: when opened, `jobs` holds the Jobs whose
// sources are there.
struct OpenedProject : OpenedDocument {
    std::vector<Job> jobs;
    // Jobs of the file left out because their source is gone, in file order.
    std::vector<std::string> droppedSources;
};

// Whether a Job's source is still there: the file, or for a DVD title the
// device, folder or image it was read from.
bool sourceIsThere(const Job& job, const platform::FileSystem& files);

// Reads and checks the project file at `path`; Jobs whose source is gone are
// left out silently (listed in `droppedSources`), the others keep every field.
OpenedProject openProject(const std::string& path, const platform::FileSystem& files);

// Writes the project file through a temporary file renamed over `path`, so a
// failure (a full disk, a folder that cannot be written) leaves the old file
// as it was.
Status saveProject(const std::string& path, const JobList& jobs, platform::FileSystem& files);
Status saveProject(const std::string& path, std::span<const Job* const> jobs,
                   platform::FileSystem& files);

}  // namespace pelorine
