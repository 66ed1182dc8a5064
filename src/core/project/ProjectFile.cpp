#include "project/ProjectFile.h"

#include <cmath>
#include <limits>

#include "jobs/DvdSource.h"
#include "project/DocumentFiles.h"
#include "project/RecordCoding.h"
#include "project/RecordFields.h"
#include "tracks/SubtitleFiles.h"

namespace pelorine {
namespace {

// The smallest record: nineteen empty texts, twelve integers and three doubles.
constexpr std::size_t kSmallestRecord = 19 * 1 + 12 * 4 + 3 * 8;
constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();

// Every field of a Job, in the order of the file, with the values it may hold.
// Writing and reading both walk this one list.
template <typename Fields, typename AnyJob>
void visitJob(Fields& f, AnyJob& job) {
    f.text("Video disabled setting", job.videoDisabled);
    f.text("Video bitrate setting", job.videoBitrate);
    f.text("Video frame rate setting", job.videoFrameRate);
    f.text("Video size setting", job.videoSize);
    f.text("Video codec setting", job.videoCodec);
    f.text("Audio disabled setting", job.audioDisabled);
    f.text("Audio volume setting", job.audioVolume);
    f.text("Audio channel setting", job.audioChannel);
    f.text("Audio bitrate setting", job.audioBitrate);
    f.text("Audio sample setting", job.audioSampleRate);
    f.text("Audio codec setting", job.audioCodec);
    f.int32("clip switch", job.clipEnabled);
    f.seconds("clip end", job.clipEnd);
    f.seconds("clip start", job.clipStart);
    f.text("start time text", job.startText);
    f.text("end time text", job.endText);
    f.text("Output format setting", job.outputFormat);
    f.text("Split setting", job.split);
    f.text("source path", job.sourcePath);
    f.text("output path", job.outputPath);
    f.seconds("length", job.duration);
    f.int32("reserved value", job.reservedValue);
    f.int32("picture width", job.sourceWidth, 0, kMost);
    f.int32("picture height", job.sourceHeight, 0, kMost);
    f.int32("source kind", job.isDvd, 0, 2);
    f.int32("DVD audio channel", job.dvdAudioChannel);
    f.int32("DVD audio id", job.dvdAudioId);
    f.int32("DVD subtitle id", job.dvdSubtitleId);
    f.int32("DVD last chapter", job.dvdChapterLast);
    f.int32("DVD first chapter", job.dvdChapterFirst);
    f.int32("DVD title", job.dvdTitle);
    f.int32("profile", job.profileIndex, 0, 4);
    f.text("quantizer min setting", job.quantizerMin);
    f.text("quantizer max setting", job.quantizerMax);
}

// Walks the whole file. With `jobs` null it only checks, allocating nothing;
// otherwise it appends every Job (the caller has checked the file first).
FieldProblem walkProject(std::span<const std::uint8_t> bytes, std::vector<Job>* jobs,
                         std::int32_t& count) {
    RecordReader reader(bytes);
    FieldProblem problem;
    if (!reader.int32(count)) {
        return FieldProblem{reader.failure(), "Job count", 0};
    }
    if (count < 0 || static_cast<std::uint64_t>(count) * kSmallestRecord > reader.remaining()) {
        // Not even the smallest records would fit: do not walk a count of 2^31.
        return FieldProblem{count < 0 ? ReadFailure::BadValue : ReadFailure::CutShort, "Job count",
                            0};
    }
    if (jobs) {
        jobs->reserve(static_cast<std::size_t>(count));
    }
    Job scratch;
    for (std::int32_t index = 0; index < count; ++index) {
        Job& job = jobs ? jobs->emplace_back() : scratch;
        FieldReader fields(reader, jobs != nullptr, index + 1);
        visitJob(fields, job);
        if (fields.problem()) {
            return fields.problem();
        }
    }
    if (!reader.atEnd()) {
        return FieldProblem{ReadFailure::Leftovers, "the last Job", 0};
    }
    return problem;
}

std::string countedProblemText(const FieldProblem& problem, std::int32_t count) {
    if (problem.record == 0 && problem.failure == ReadFailure::CutShort && count > 0) {
        return "the file promises " + std::to_string(count) + " Jobs but is too short for them.";
    }
    return problemText(problem, "Job", count);
}

}  // namespace

Status encodeProject(std::span<const Job* const> jobs, std::vector<std::uint8_t>& bytes) {
    if (jobs.size() > static_cast<std::size_t>(kMost)) {
        return Status::error("Too many Jobs for a project file.");
    }
    RecordWriter writer;
    writer.int32(static_cast<std::int32_t>(jobs.size()));
    FieldWriter fields(writer);
    for (const Job* job : jobs) {
        visitJob(fields, *job);
    }
    if (writer.failed()) {
        return Status::error("A text of a Job is too long for a project file.");
    }
    bytes = writer.take();
    return Status::ok();
}

Status encodeProject(const JobList& jobs, std::vector<std::uint8_t>& bytes) {
    std::vector<const Job*> pointers;
    pointers.reserve(jobs.count());
    for (std::size_t i = 0; i < jobs.count(); ++i) {
        pointers.push_back(&jobs.job(i));
    }
    return encodeProject(pointers, bytes);
}

Status decodeProject(std::span<const std::uint8_t> bytes, std::vector<Job>& jobs) {
    std::int32_t count = 0;
    const FieldProblem problem = walkProject(bytes, nullptr, count);
    if (problem) {
        return Status::error(countedProblemText(problem, count));
    }
    std::vector<Job> read;
    walkProject(bytes, &read, count);
    jobs = std::move(read);
    return Status::ok();
}

bool sourceIsThere(const Job& job, const platform::FileSystem& files) {
    const std::string source = dvdDriveOf(job.sourcePath).value_or(job.sourcePath);
    return !source.empty() && files.exists(source);
}

OpenedProject openProject(const std::string& path, const platform::FileSystem& files) {
    std::vector<Job> jobs;
    OpenedProject opened;
    static_cast<OpenedDocument&>(opened) = openDocument(
        path, files, "project", [&jobs](auto bytes) { return decodeProject(bytes, jobs); });
    for (Job& job : jobs) {
        if (sourceIsThere(job, files)) {
            findSubtitleFileAgain(job, files);
            opened.jobs.push_back(std::move(job));
        } else {
            opened.droppedSources.push_back(job.sourcePath);
        }
    }
    return opened;
}

Status saveProject(const std::string& path, std::span<const Job* const> jobs,
                   platform::FileSystem& files) {
    return saveEncodedDocument(path, files,
                               [jobs](auto& bytes) { return encodeProject(jobs, bytes); });
}

Status saveProject(const std::string& path, const JobList& jobs, platform::FileSystem& files) {
    return saveEncodedDocument(path, files,
                               [&jobs](auto& bytes) { return encodeProject(jobs, bytes); });
}

}  // namespace pelorine
