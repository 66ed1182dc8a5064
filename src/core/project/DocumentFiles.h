#pragma once
// Reading and saving the user's project and profile files whole, and the
// words for what went wrong with them: one path for both kinds of file.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/Status.h"
#include "platform/FileSystem.h"

namespace pelorine {

// No project or profile file comes near this size; a larger file is not one
// of ours and is refused without reading it whole.
inline constexpr std::size_t kLargestDocument = 64u * 1024 * 1024;

// What opening a project or profile file gave.
struct OpenedDocument {
    enum class Result {
        Opened,      // the whole file was read and is sound
        CannotRead,  // the file could not be opened ("Failed!")
        Damaged,     // too large, or not a sound file of its kind ("Command failed.")
    };
    Result result = Result::Opened;
    Status detail = Status::ok();  // what went wrong, naming the file
};

// Checks a file's bytes and takes what it holds; an error says where the
// file is damaged.
using DocumentDecoder = std::function<Status(std::span<const std::uint8_t> bytes)>;

// Reads the file at `path` whole (memory as large as the file, and never more
// than kLargestDocument) and hands its bytes to `decode`. `kind`, "project"
// or "profile", names the file in the messages: "Cannot open the project file
// "x".", "The profile file "x" is damaged: <problem>".
OpenedDocument openDocument(const std::string& path, const platform::FileSystem& files,
                            const char* kind, const DocumentDecoder& decode);

// Saves the bytes `encode` makes with FileSystem::saveDocument; an encoding
// failure is returned and nothing is written.
Status saveEncodedDocument(const std::string& path, platform::FileSystem& files,
                           const std::function<Status(std::vector<std::uint8_t>& bytes)>& encode);

}  // namespace pelorine
