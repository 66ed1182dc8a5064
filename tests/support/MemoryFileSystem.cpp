#include "support/MemoryFileSystem.h"

#include "base/Paths.h"

namespace pelorine::testing {

std::string MemoryFileSystem::key(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    return trimmed;
}

// Whether the folder a file at `path` would sit in exists.
bool MemoryFileSystem::folderHolds(const std::string& path) const {
    const std::string folder = folderOf(key(path));
    return folder.empty() || isFolder(folder);
}

void MemoryFileSystem::put(const std::string& path, const std::string& content) {
    if (const std::string folder = folderOf(key(path)); !folder.empty()) {
        createFolders(folder);
    }
    files_[key(path)] = std::vector<std::uint8_t>(content.begin(), content.end());
}

std::string MemoryFileSystem::text(const std::string& path) const {
    const auto found = files_.find(key(path));
    return found == files_.end() ? std::string()
                                 : std::string(found->second.begin(), found->second.end());
}

bool MemoryFileSystem::exists(const std::string& path) const {
    return files_.contains(key(path)) || isFolder(path);
}

std::optional<std::uint64_t> MemoryFileSystem::fileSize(const std::string& path) const {
    const auto found = files_.find(key(path));
    if (found == files_.end()) {
        return std::nullopt;
    }
    return found->second.size();
}

bool MemoryFileSystem::isFolder(const std::string& path) const {
    const std::string name = key(path);
    return name == "/" || folders_.contains(name);
}

std::optional<std::vector<std::uint8_t>> MemoryFileSystem::readPrefix(const std::string& path,
                                                                      std::size_t maxBytes) const {
    const auto found = files_.find(key(path));
    if (found == files_.end()) {
        return std::nullopt;
    }
    const std::size_t size = std::min(maxBytes, found->second.size());
    return std::vector<std::uint8_t>(found->second.begin(),
                                     found->second.begin() + static_cast<std::ptrdiff_t>(size));
}

Status MemoryFileSystem::replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (!folderHolds(path) || isFolder(path)) {
        return Status::error("Cannot write \"" + path + "\"");
    }
    files_[key(path)] = std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    return Status::ok();
}

// Memory has no disk to reach: every write is as durable as it gets.
Status MemoryFileSystem::writeFileDurably(const std::string& path,
                                          std::span<const std::uint8_t> bytes) {
    return replaceFile(path, bytes);
}

Status MemoryFileSystem::saveDocument(const std::string& path,
                                      std::span<const std::uint8_t> bytes) {
    return replaceFile(path, bytes);
}

Status MemoryFileSystem::renameFile(const std::string& from, const std::string& to) {
    const auto found = files_.find(key(from));
    if (found == files_.end() || !folderHolds(to) || isFolder(to)) {
        return Status::error("Cannot rename \"" + from + "\" to \"" + to + "\"");
    }
    std::vector<std::uint8_t> bytes = std::move(found->second);
    files_.erase(found);
    files_[key(to)] = std::move(bytes);
    return Status::ok();
}

Status MemoryFileSystem::renameDurably(const std::string& from, const std::string& to) {
    return renameFile(from, to);
}

Status MemoryFileSystem::removeFile(const std::string& path, int /*attempts*/) {
    if (isFolder(path)) {
        return Status::error("Cannot delete \"" + path + "\"");
    }
    files_.erase(key(path));
    return Status::ok();
}

Status MemoryFileSystem::createFolders(const std::string& path) {
    const std::string name = key(path);
    for (std::size_t at = name.find('/', 1);; at = name.find('/', at + 1)) {
        const std::string partial = name.substr(0, at);
        if (files_.contains(partial)) {
            return Status::error("\"" + path + "\" is not a folder.");
        }
        if (!partial.empty()) {
            folders_.insert(partial);
        }
        if (at == std::string::npos) {
            return Status::ok();
        }
    }
}

std::vector<std::string> MemoryFileSystem::listFolder(const std::string& path) const {
    const std::string name = key(path);
    const std::string prefix = name == "/" ? name : name + "/";
    std::vector<std::string> names;
    const auto addChild = [&](const std::string& entry) {
        if (entry.size() > prefix.size() && entry.starts_with(prefix) &&
            entry.find('/', prefix.size()) == std::string::npos) {
            names.push_back(entry.substr(prefix.size()));
        }
    };
    for (const auto& [file, bytes] : files_) {
        addChild(file);
    }
    for (const std::string& folder : folders_) {
        addChild(folder);
    }
    return names;
}

Status MemoryFileSystem::removeFolder(const std::string& path) {
    const std::string name = key(path);
    const std::string below = name + "/";
    std::erase_if(files_, [&](const auto& entry) { return entry.first.starts_with(below); });
    std::erase_if(folders_, [&](const std::string& folder) {
        return folder == name || folder.starts_with(below);
    });
    return Status::ok();
}

}  // namespace pelorine::testing
