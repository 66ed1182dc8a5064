#pragma once
// Profile files (".profile"): the eighteen settings rows as they stand, with
// their names, values, editors, option lists and list flags, so that a
// user's settings come back as the customised profile.
//
// Layout: exactly eighteen row records in the rows' creation order, and
// nothing else (no header, count or checksum). A record is the list flag
// (32-bit), the option list, the value, the editor kind (32-bit, 0 combo,
// 1 edit, 2 colour, 3 font, 4 file) and the name, texts length-prefixed as in
// project files.
//
// Reading checks the whole file before any row is handed out: a file that is
// cut short, carries bytes after the eighteenth record, or names an editor
// that does not exist is refused as a whole.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "profiles/PropertyItem.h"
#include "project/DocumentFiles.h"

namespace pelorine {

inline constexpr std::size_t kProfileRowCount = 18;
using ProfileRows = std::array<PropertyItem, kProfileRowCount>;

inline constexpr const char* kProfileFilter = "Profile Files(*.profile)|*.profile||";
inline constexpr const char* kProfileExtension = "profile";
// A saved profile is confirmed with the same words as a saved project.
inline constexpr const char* kProfileSavedMessage = "Project saved!";

// The file's bytes for `rows`. Fails only for a text too long for the format.
Status encodeProfile(const ProfileRows& rows, std::vector<std::uint8_t>& bytes);

// The rows of a profile file, or an error saying where it is damaged; `rows`
// is only changed when the whole file is sound.
Status decodeProfile(std::span<const std::uint8_t> bytes, ProfileRows& rows);

struct OpenedProfile : OpenedDocument {
    ProfileRows rows;
};

OpenedProfile openProfile(const std::string& path, const platform::FileSystem& files);

// Writes the profile through a temporary file renamed over `path`: a failure
// leaves the old file as it was.
Status saveProfile(const std::string& path, const ProfileRows& rows, platform::FileSystem& files);

}  // namespace pelorine
