// The tests' in-memory files answer as the disk does: one script of writes,
// renames and removals run on both, every answer compared.

#include "support/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestSupport.h"

namespace pelorine::testing {
namespace {

// What a file system says about `root` after each step of the script.
std::vector<std::string> runScript(platform::FileSystem& files, const std::string& root) {
    std::vector<std::string> said;
    const auto bytes = [](const std::string& text) {
        return std::vector<std::uint8_t>(text.begin(), text.end());
    };
    const auto note = [&](const char* what, bool answer) {
        said.push_back(std::string(what) + (answer ? " yes" : " no"));
    };
    const auto look = [&](const std::string& name) {
        const std::string path = root + name;
        const auto size = files.fileSize(path);
        const auto prefix = files.readPrefix(path, 3);
        said.push_back(name + ": " + (files.exists(path) ? "there" : "gone") +
                       (files.isFolder(path) ? ", folder" : "") +
                       (size ? ", " + std::to_string(*size) + " bytes" : "") +
                       (prefix ? ", starts " + std::string(prefix->begin(), prefix->end()) : ""));
    };
    const auto list = [&](const std::string& name) {
        auto names = files.listFolder(root + name);
        std::sort(names.begin(), names.end());
        std::string line = name + " holds";
        for (const std::string& entry : names) {
            line += " " + entry;
        }
        said.push_back(line);
    };
    note("write into a missing folder", files.replaceFile(root + "a/x.ini", bytes("one")).isOk());
    note("make a/b", files.createFolders(root + "a/b").isOk());
    note("make a/b again", files.createFolders(root + "a/b/").isOk());
    note("write a/x.ini", files.replaceFile(root + "a/x.ini", bytes("first")).isOk());
    note("save a/x.ini", files.saveDocument(root + "a/x.ini", bytes("second")).isOk());
    note("write over a folder", files.replaceFile(root + "a/b", bytes("no")).isOk());
    note("make a folder in a file", files.createFolders(root + "a/x.ini/c").isOk());
    look("a/x.ini");
    look("a/b");
    look("a/none");
    list("a");
    note("rename a/x.ini to a/b/y.ini",
         files.renameFile(root + "a/x.ini", root + "a/b/y.ini").isOk());
    note("rename what is gone", files.renameFile(root + "a/x.ini", root + "a/z.ini").isOk());
    look("a/x.ini");
    look("a/b/y.ini");
    note("remove what is gone", files.removeFile(root + "a/x.ini", 1).isOk());
    note("remove a folder as a file", files.removeFile(root + "a/b", 1).isOk());
    note("remove a/b/y.ini", files.removeFile(root + "a/b/y.ini", 1).isOk());
    list("a/b");
    files.replaceFile(root + "a/b/z", bytes("z"));
    note("remove the folder a", files.removeFolder(root + "a").isOk());
    look("a");
    look("a/b/z");
    list("");
    return said;
}

TEST(MemoryFileSystem, AnswersAsTheDiskDoes) {
    TempFolder folder;
    const auto onDisk = runScript(platform::systemFileSystem(), folder.path());
    MemoryFileSystem memory;
    ASSERT_TRUE(memory.createFolders("/home/me"));
    const auto inMemory = runScript(memory, "/home/me/");
    EXPECT_EQ(inMemory, onDisk);
}

}  // namespace
}  // namespace pelorine::testing
