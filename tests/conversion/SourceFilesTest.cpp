// Which files become Jobs when files and folders are dropped on the list.

#include "conversion/SourceFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"

namespace pelorine {
namespace {

TEST(SourceFiles, VideoFilesAreThoseAddOffersAndTheContainersItLeavesOut) {
    for (const char* name : {"a.avi", "B.MP4", "c.Rmvb", "d.vob", "e.flv", "f.mpeg", "g.dat",
                             "anime.MKV", "rec.ts", "film.m2ts"}) {
        EXPECT_TRUE(isVideoFileName(name)) << name;
    }
    for (const char* name : {"notes.txt", "avi", ".avi", "clip.avi.part", "x.mkv.part", "a.srt"}) {
        EXPECT_FALSE(isVideoFileName(name)) << name;
    }
}

TEST(SourceFiles, FoldersGiveTheirVideoFilesRecursivelyInNameOrder) {
    testing::TempFolder folder;
    for (const char* name : {"in/b.avi", "in/a.MOV", "in/notes.txt", "in/sub/c.mp4",
                             "in/sub/deeper/d.wmv", "in/z.flv", "loose.avi", "readme"}) {
        std::filesystem::create_directories(std::filesystem::path(folder.file(name)).parent_path());
        folder.write(name, "");
    }
    std::filesystem::create_directory_symlink(folder.file("in"), folder.file("in/sub/again"));
    const std::vector<std::string> sources =
        droppedSources({folder.file("readme"), folder.file("in/"), folder.file("loose.avi")},
                       platform::systemFileSystem());
    EXPECT_EQ(sources, (std::vector<std::string>{
                           folder.file("readme"),  // a file dropped alone is taken as it is
                           folder.file("in/a.MOV"), folder.file("in/b.avi"),
                           folder.file("in/sub/c.mp4"), folder.file("in/sub/deeper/d.wmv"),
                           folder.file("in/z.flv"), folder.file("loose.avi")}))
        << "the link back to the folder is not walked";
}

}  // namespace
}  // namespace pelorine
