// Splitting paths at their last separator: the callers rely on the edges
// (no separator, the root, a trailing separator) to name folders and files.

#include "base/Paths.h"

#include <gtest/gtest.h>

#include <string>

namespace pelorine {
namespace {

struct PathCase {
    std::string path;
    std::string folder;
    std::string folderWithSeparator;
    std::string fileName;
};

TEST(Paths, SplitAtTheLastSeparator) {
    const PathCase cases[] = {
        {"/home/me/clip.avi", "/home/me", "/home/me/", "clip.avi"},
        {"clip.avi", "", "", "clip.avi"},
        {"", "", "", ""},
        {"/clip.avi", "", "/", "clip.avi"},
        {"/", "", "/", ""},
        {"/home/me/", "/home/me", "/home/me/", ""},
        {"a//b", "a/", "a//", "b"},
        {"DVD_DRIVE_/dev/sr0", "DVD_DRIVE_/dev", "DVD_DRIVE_/dev/", "sr0"},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(folderWithSeparatorOf(c.path), c.folderWithSeparator) << c.path;
        EXPECT_EQ(fileNameOf(c.path), c.fileName) << c.path;
    }
}

TEST(Paths, FolderAndNameGiveThePathBack) {
    for (const std::string path : {"/a/b.mp4", "b.mp4", "/", "/a/", "x//y"}) {
        EXPECT_EQ(folderWithSeparatorOf(path) + fileNameOf(path), path) << path;
    }
}

TEST(Paths, TheExtensionIsAfterTheLastDotOfTheFileNameOnly) {
    struct Case {
        std::string path;
        std::string base;
        std::string extension;
    };
    const Case cases[] = {
        {"/v/clip.mp4", "/v/clip", "mp4"},
        {"/v/my.videos/clip", "/v/my.videos/clip", ""},
        {"/v/archive.tar.gz", "/v/archive.tar", "gz"},
        {"/v/.hidden", "/v/", "hidden"},
        {"clip.", "clip", ""},
        {"clip", "clip", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(withoutExtension(c.path), c.base) << c.path;
        EXPECT_EQ(extensionOf(c.path), c.extension) << c.path;
    }
}

}  // namespace
}  // namespace pelorine
