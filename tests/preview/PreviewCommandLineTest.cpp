#include "preview/PreviewCommandLine.h"

#include <gtest/gtest.h>

namespace pelorine::preview {
namespace {

const EngineInvocation kInvocation{"/usr/bin/zelvic", "/run/user/1000/pelorine/"};
// The window's preview area.
const PreviewTarget kWindow{186, 138, 12345};

Job fileJob(int width = 640, int height = 480) {
    Job job;
    job.sourcePath = "/home/me/My Videos/a b.avi";
    job.sourceWidth = width;
    job.sourceHeight = height;
    job.duration = 125.5;
    job.clipEnd = 125.5;
    job.audioChannel = "default";
    job.audioVolume = "default";
    return job;
}

TEST(PreviewCommandLineTest, AFileWithBlanksAndNoClipPlaysFromZero) {
    const Job job = fileJob();
    EXPECT_EQ(previewCommandLine(job, 0.0, job.duration, kWindow, kInvocation),
              "/usr/bin/zelvic \"/home/me/My Videos/a b.avi\"  -ss 0.000000 -endpos 125.500000 "
              " -vf scale=-2:138,harddup,expand=186:138:-1:-1:1 "
              " -framedrop  -autosync 0 -mc 0 -slave -wid 12345 -colorkey 0x000102 -keepaspect "
              "-priority abovenormal -ao dsound -vo directx:noaccel "
              " -currentfolder \"/run/user/1000/pelorine/\" ");
}

TEST(PreviewCommandLineTest, AClipPlaysFromItsStartForItsLength) {
    Job job = fileJob(1280, 720);
    job.audioChannel = "right stereo";
    const std::string line = previewCommandLine(job, 60.5, 200.0, {320, 180, 77}, kInvocation);
    EXPECT_NE(line.find("\"  -ss 60.500000 -endpos 139.500000  -af channels=2:2:1:0:1:1 -vf "
                        "scale=320:-2,harddup,expand=320:180:-1:-1:1  -framedrop  "),
              std::string::npos)
        << line;
    EXPECT_NE(line.find(" -wid 77 "), std::string::npos) << line;
}

TEST(PreviewCommandLineTest, AnEnginePathWithBlanksIsQuoted) {
    const Job job = fileJob();
    const std::string line =
        previewCommandLine(job, 0.0, 1.0, kWindow, {"/opt/my apps/zelvic", "/tmp/run/"});
    EXPECT_EQ(line.rfind("\"/opt/my apps/zelvic\" \"/home/me/My Videos/a b.avi\" ", 0), 0u) << line;
}

TEST(PreviewCommandLineTest, ChannelAndVolumeFilters) {
    struct Case {
        const char* channel;
        const char* volume;
        const char* expected;
    };
    const Case cases[] = {
        {"default", "default", ""},
        {"LeFt MoNo", "normalize", " -af channels=1:1:0:0,volnorm"},
        {"default", "+5", "  -af  volume=+5db:sc"},
        {"DEFAULT", "-10", "  -af  volume=-10db:sc"},
        {"left stereo", "default", " -af channels=2:2:0:0:0:1"},
        {"Right Mono", "-3", " -af channels=1:1:1:0,volume=-3db:sc"},
        {"mixed mono", "default", " -af pan=1:0.5:0.5"},
        {"surround", "default", " -af "},  // the option stays even without a filter
        {"surround", "+2", " -af ,volume=+2db:sc"},
        {"default", "Normalize", "  -af  volume=Normalizedb:sc"},  // the volume keeps its case
    };
    for (const Case& c : cases) {
        Job job = fileJob();
        job.audioChannel = c.channel;
        job.audioVolume = c.volume;
        EXPECT_EQ(previewAudioFilters(job), c.expected) << c.channel << " / " << c.volume;
    }
}

TEST(PreviewCommandLineTest, TheSourceFitsTheWindowByItsAspect) {
    struct Case {
        int width, height;
        const char* expected;
    };
    const Case cases[] = {
        {1920, 1080, " -vf scale=186:-2,harddup,expand=186:138:-1:-1:1 "},  // 16:9: the width
        {640, 480, " -vf scale=-2:138,harddup,expand=186:138:-1:-1:1 "},    // 4:3: the height
        {500, 500, " -vf scale=-2:138,harddup,expand=186:138:-1:-1:1 "},    // 1:1: the height
        {186, 138, " -vf scale=186:-2,harddup,expand=186:138:-1:-1:1 "},    // equal: the width
        {0, 0, " -vf scale=186:-2,harddup,expand=186:138:-1:-1:1 "},        // no picture
    };
    for (const Case& c : cases) {
        const Job job = fileJob(c.width, c.height);
        const std::string line = previewCommandLine(job, 0, 1, kWindow, kInvocation);
        EXPECT_NE(line.find("endpos 1.000000 " + std::string(c.expected) + " -framedrop"),
                  std::string::npos)
            << c.width << "x" << c.height << ": " << line;
    }
}

TEST(PreviewCommandLineTest, AWindowWithoutHeightFitsTheWidth) {
    const std::string line = previewCommandLine(fileJob(), 0, 1, {186, 0, 1}, kInvocation);
    EXPECT_NE(line.find(" -vf scale=186:-2,harddup,expand=186:0:-1:-1:1 "), std::string::npos)
        << line;
}

TEST(PreviewCommandLineTest, DvdTitlesNameTheirDeviceChaptersAudioAndSubtitles) {
    Job job = fileJob();
    job.isDvd = 1;
    job.sourcePath = "DVD_DRIVE_/media/me/MY DISC";
    job.dvdTitle = 2;
    job.dvdChapterFirst = 1;
    job.dvdChapterLast = 5;
    job.dvdAudioId = 128;
    job.dvdSubtitleId = -1;
    EXPECT_EQ(previewSourcePiece(job),
              " -dvd-device  \"/media/me/MY DISC\" dvd://2 -chapter 1-5  -aid 128 ");
    job.dvdAudioId = -1;
    EXPECT_EQ(previewSourcePiece(job), " -dvd-device  \"/media/me/MY DISC\" dvd://2 -chapter 1-5 ");
    job.dvdSubtitleId = 0;
    EXPECT_EQ(previewSourcePiece(job),
              " -dvd-device  \"/media/me/MY DISC\" dvd://2 -chapter 1-5  -sid 0 ");
}

TEST(PreviewCommandLineTest, OtherSourceKinds) {
    Job job = fileJob();
    job.isDvd = 2;
    EXPECT_EQ(previewSourcePiece(job), " vcd://2 -cdrom-device /dev/sr0 ");
    job.isDvd = 7;
    EXPECT_EQ(previewSourcePiece(job), "");
}

}  // namespace
}  // namespace pelorine::preview
