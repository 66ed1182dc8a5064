#include "handheld/HandheldCopy.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/Paths.h"

namespace pelorine::handheld {
namespace {

constexpr std::size_t kPiece = 1 << 20;
constexpr std::uint64_t kCluster = 32 * 1024;

Status stopped() {
    return Status::error("The copy to the PSP was stopped.");
}

// Reads the whole of `into` from `file` at `offset`, unless the file ends first.
Status readFully(platform::OpenFile& file, std::uint64_t offset, std::span<std::uint8_t> into,
                 std::size_t& got) {
    got = 0;
    while (got < into.size()) {
        std::size_t piece = 0;
        if (Status read = file.readAt(offset + got, into.subspan(got), piece); !read) {
            return read;
        }
        if (piece == 0) {
            break;
        }
        got += piece;
    }
    return Status::ok();
}

// Reads the original and its copy back piece by piece, through the two
// buffers, and compares them.
Status compareCopy(platform::OpenFile& original, platform::OpenFile& copy, std::uint64_t size,
                   std::span<std::uint8_t> piece, std::span<std::uint8_t> back) {
    for (std::uint64_t at = 0; at < size;) {
        std::size_t gotOriginal = 0;
        std::size_t gotCopy = 0;
        Status read = readFully(original, at, piece, gotOriginal);
        if (read) {
            read = readFully(copy, at, back, gotCopy);
        }
        if (!read) {
            return read;
        }
        if (gotOriginal == 0 || gotOriginal != gotCopy ||
            !std::equal(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(gotOriginal),
                        back.begin())) {
            return Status::error("The copy on the memory stick differs from the original.");
        }
        at += gotOriginal;
    }
    return Status::ok();
}

}  // namespace

std::string partialCopyPath(const std::string& to) {
    return to + ".part";
}

std::string sizeText(std::uint64_t bytes) {
    if (bytes < 1024) {
        return std::to_string(bytes) + " bytes";
    }
    static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024.0;
    int unit = 0;
    while (value >= 1024.0 && unit < 3) {
        value /= 1024.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    return text;
}

std::uint64_t roomNeeded(const CopyPlan& plan, const platform::LargeFiles& files) {
    std::uint64_t room = 0;
    for (const CopyStep& step : plan.steps) {
        const std::uint64_t size = files.fileSize(step.from).value_or(0);
        room += (size + kCluster - 1) / kCluster * kCluster;
    }
    return room;
}

Status checkHandheld(const CopyPlan& plan, const platform::LargeFiles& files) {
    const auto space = files.space(plan.handheldRoot);
    if (!space) {
        return Status::error("The memory stick at \"" + plan.handheldRoot +
                             "\" cannot be read. Is it still connected?");
    }
    if (space->readOnly) {
        return Status::error("The memory stick at \"" + plan.handheldRoot +
                             "\" is read-only. Slide its lock switch off, or connect it again, "
                             "and try once more.");
    }
    const std::uint64_t needed = roomNeeded(plan, files);
    if (needed > space->available) {
        return Status::error("Not enough room on the memory stick at \"" + plan.handheldRoot +
                             "\": the copy needs " + sizeText(needed) + ", " +
                             sizeText(space->available) + " are free. Nothing was copied.");
    }
    return Status::ok();
}

Status HandheldCopier::copy(const CopyPlan& plan, const CopyProgress& progress,
                            const StopAsked& stop) {
    completed_ = 0;
    std::uint64_t done = 0;
    for (const CopyStep& step : plan.steps) {
        if (Status copied = copyOne(step, done, plan.bytes, progress, stop); !copied) {
            return copied;
        }
        ++completed_;
    }
    return Status::ok();
}

Status HandheldCopier::copyOne(const CopyStep& step, std::uint64_t& done, std::uint64_t total,
                               const CopyProgress& progress, const StopAsked& stop) {
    // A place without any folder is in the current one.
    const std::string folder =
        step.to.find('/') == std::string::npos ? std::string(".") : folderOf(step.to);
    if (Status created = folders_.createFolders(folder); !created) {
        return Status::error("Cannot create the folder \"" + folder +
                             "\" on the memory stick: " + created.message());
    }
    const std::string partial = partialCopyPath(step.to);
    (void)folders_.removeFile(partial, 1);  // what an earlier, broken copy left
    Status written = writeAndCheck(step, partial, done, total, progress, stop);
    if (written) {
        written = files_.moveIntoPlace(partial, step.to);
    }
    if (written) {
        written = files_.flushFolder(folder);
    }
    if (!written) {
        (void)folders_.removeFile(partial, 3);
        return Status::error("Copying \"" + step.from + "\" to the PSP failed. " +
                             written.message());
    }
    return Status::ok();
}

// Writes the copy under its partial name, makes it reach the disk, and reads
// it back to compare with the original, piece by piece.
Status HandheldCopier::writeAndCheck(const CopyStep& step, const std::string& partial,
                                     std::uint64_t& done, std::uint64_t total,
                                     const CopyProgress& progress, const StopAsked& stop) {
    const auto size = files_.fileSize(step.from);
    platform::Opened source = files_.openForReading(step.from);
    if (!size || !source.file) {
        return source.file ? Status::error("\"" + step.from + "\" is not a file.") : source.status;
    }
    platform::Opened target = files_.createNew(partial);
    if (!target.file) {
        return target.status;
    }
    std::vector<std::uint8_t> piece(kPiece);
    std::vector<std::uint8_t> back(kPiece);
    std::uint64_t offset = 0;
    for (std::size_t got = 0; offset < *size; offset += got) {
        if (stop && stop()) {
            return stopped();
        }
        if (Status read = readFully(*source.file, offset, piece, got); !read) {
            return read;
        }
        if (got == 0) {
            break;
        }
        if (Status wrote = target.file->writeAt(offset, std::span(piece).first(got)); !wrote) {
            return wrote;
        }
        done += got;
        if (progress) {
            progress(done, total);
        }
    }
    for (Status finished : {target.file->flushToDisk(), target.file->close()}) {
        if (!finished) {
            return finished;
        }
    }
    if (offset != *size || files_.fileSize(partial) != *size) {
        return Status::error(
            "The copy on the memory stick does not have the size of the original.");
    }
    platform::Opened copy = files_.openForReading(partial);
    if (!copy.file) {
        return copy.status;
    }
    return compareCopy(*source.file, *copy.file, *size, piece, back);
}

}  // namespace pelorine::handheld
