#pragma once
// Files and folders held in memory, for tests whose code reads and writes
// small records but needs no disk. Paths are texts as the code composes them,
// split at "/"; the root always exists. A file can only be written into a
// folder that exists, as on a disk.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace pelorine::testing {

class MemoryFileSystem final : public platform::FileSystem {
public:
    // Puts a file (and the folders it needs) in place, as a test's setup.
    void put(const std::string& path, const std::string& content);
    // The content of a file; empty when there is none.
    std::string text(const std::string& path) const;

    bool exists(const std::string& path) const override;
    std::optional<std::uint64_t> fileSize(const std::string& path) const override;
    bool isFolder(const std::string& path) const override;
    std::optional<std::vector<std::uint8_t>> readPrefix(const std::string& path,
                                                        std::size_t maxBytes) const override;
    Status replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override;
    Status writeFileDurably(const std::string& path, std::span<const std::uint8_t> bytes) override;
    Status saveDocument(const std::string& path, std::span<const std::uint8_t> bytes) override;
    Status renameFile(const std::string& from, const std::string& to) override;
    Status renameDurably(const std::string& from, const std::string& to) override;
    Status removeFile(const std::string& path, int attempts) override;
    Status createFolders(const std::string& path) override;
    std::vector<std::string> listFolder(const std::string& path) const override;
    Status removeFolder(const std::string& path) override;

private:
    // A path without its trailing separators ("/a/b/" is "/a/b").
    static std::string key(const std::string& path);
    bool folderHolds(const std::string& path) const;

    std::map<std::string, std::vector<std::uint8_t>> files_;
    std::set<std::string> folders_;
};

}  // namespace pelorine::testing
