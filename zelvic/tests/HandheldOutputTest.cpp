// What the handheld needs beside the picture and the sound: the title in the
// container and the .THM thumbnail beside each MP4 output.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "CommandLines.h"
#include "Engine.h"
#include "common/FFmpeg.h"
#include "encode/OutputTitle.h"
#include "encode/Thumbnail.h"
#include "options/Options.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"

namespace zelvic::test {
namespace {

TEST(Thumbnail, LetterboxKeepsTheShapeOnEvenPlaces) {
    struct Case {
        int width, height;
        AVRational sampleAspect;
        PictureRect expected;
    };
    const Case cases[] = {
        {320, 240, {1, 1}, {0, 0, 160, 120}},
        {480, 272, {1, 1}, {0, 14, 160, 90}},    // the wide profile: bands above and below
        {180, 320, {0, 1}, {46, 0, 68, 120}},    // portrait: bands left and right
        {352, 288, {16, 11}, {0, 14, 160, 90}},  // wide pixels count as wide
        {0, 0, {1, 1}, {0, 0, 160, 120}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        EXPECT_EQ(letterbox(c.width, c.height, c.sampleAspect), c.expected);
    }
}

// The files of the operating system, except that every write to a file
// they create fails as on a full disk.
class FullDisk final : public pelorine::platform::LargeFiles {
public:
    using Opened = pelorine::platform::Opened;
    Opened openForReading(const std::string& path) override { return real().openForReading(path); }
    Opened openForUpdate(const std::string& path) override { return real().openForUpdate(path); }
    Opened createNew(const std::string& path) override {
        Opened opened = real().createNew(path);
        if (opened.file) {
            opened.file = std::make_unique<FullFile>(std::move(opened.file));
        }
        return opened;
    }
    std::optional<std::uint64_t> fileSize(const std::string& path) const override {
        return real().fileSize(path);
    }
    std::optional<pelorine::platform::SpaceInfo> space(const std::string& path) const override {
        return real().space(path);
    }
    pelorine::Status moveIntoPlace(const std::string& from, const std::string& to) override {
        return real().moveIntoPlace(from, to);
    }
    pelorine::Status flushFolder(const std::string& folder) override {
        return real().flushFolder(folder);
    }

private:
    class FullFile final : public pelorine::platform::OpenFile {
    public:
        explicit FullFile(std::unique_ptr<OpenFile> file) : file_(std::move(file)) {}
        pelorine::Status readAt(std::uint64_t offset, std::span<std::uint8_t> into,
                                std::size_t& got) override {
            return file_->readAt(offset, into, got);
        }
        pelorine::Status writeAt(std::uint64_t, std::span<const std::uint8_t>) override {
            return pelorine::Status::error("no space left on the disk");
        }
        pelorine::Status flushToDisk() override { return file_->flushToDisk(); }
        pelorine::Status close() override { return file_->close(); }

    private:
        std::unique_ptr<OpenFile> file_;
    };
    static LargeFiles& real() { return pelorine::platform::systemLargeFiles(); }
};

// The thumbnail goes through the disk it is given: a JPEG where it is
// asked for, and on a full disk an error that says so and no file at all.
TEST(Thumbnail, WrittenWholeOrNotAtAll) {
    FramePtr picture = makeFrame();
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = 64;
    picture->height = 48;
    ASSERT_GE(av_frame_get_buffer(picture.get(), 0), 0);
    for (int plane = 0; plane < 3; ++plane) {
        std::memset(picture->data[plane], 128,
                    static_cast<std::size_t>(picture->linesize[plane]) * (plane ? 24 : 48));
    }
    ThumbnailPicker picker(0);
    picker.offer(picture.get(), 0);

    TempDir dir;
    auto& files = pelorine::platform::systemFileSystem();
    ASSERT_TRUE(picker.write(dir.file("a.THM"), {files, pelorine::platform::systemLargeFiles()}));
    std::ifstream jpeg(dir.file("a.THM"), std::ios::binary);
    EXPECT_EQ(jpeg.get(), 0xFF);
    EXPECT_EQ(jpeg.get(), 0xD8);

    FullDisk full;
    const Outcome written = picker.write(dir.file("b.THM"), {files, full});
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().message.find("no space left"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("b.THM")));
    EXPECT_FALSE(fs::exists(dir.file("b.THM.part")));
}

TEST(OutputTitle, CleanedAndBoxed) {
    EXPECT_EQ(cleanTitle("  a\tb\nc  "), "a b c");
    // Cut at 255 bytes, never inside a character.
    const std::string accents(200, 'a');
    const std::string title = cleanTitle(accents + std::string(40, '\xc3') + "\xa9");
    EXPECT_LE(title.size(), kMaxTitleBytes);
    const std::string longText = std::string(254, 'x') + "\xc3\xa9";
    EXPECT_EQ(cleanTitle(longText), std::string(254, 'x'));

    const std::vector<std::uint8_t> box = titleBox("Hi");
    const std::vector<std::uint8_t> expected = {0, 0, 0,    22,   'u',  'd', 't', 'a',
                                                0, 0, 0,    14,   0xa9, 'n', 'a', 'm',
                                                0, 2, 0x55, 0xc4, 'H',  'i'};
    EXPECT_EQ(box, expected);
}

TEST(OutputTitle, ThumbnailOption) {
    const std::vector<std::string> args = {
        "in.avi", "-o",   "out.mp4",   "-ovc",       "lavc",       "-lavcopts", "vcodec=mpeg4",
        "-of",    "lavf", "-lavfopts", "format=mp4", "-thumbnail", "out.THM"};
    const auto options = parseOptions(args);
    ASSERT_TRUE(options.ok());
    EXPECT_EQ(options->thumbnail, "out.THM");
    const std::vector<std::string> empty = {"in.avi", "-thumbnail", ""};
    EXPECT_EQ(parseOptions(empty).error().code, ExitStatus::BadCommandLine);
}

// A source whose first 1.6 s are black, then a bright picture; with a title
// or without one.
std::string makeSource(const TempDir& dir, const std::string& name, const std::string& title) {
    const std::string path = dir.file(name);
    std::vector<std::string> args =
        ffmpegArgs({"color=c=black:s=640x360:r=25:d=4,geq=lum='if(lt(N,40),16,170)':cb=110:cr=150",
                    "sine=frequency=440:duration=4"},
                   {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
    if (!title.empty()) {
        args.insert(args.end(), {"-metadata", "title=" + title});
    }
    args.push_back(path);
    Process ffmpeg("ffmpeg", args, dir.file("ffmpeg.log"));
    const ProcessEnd end = ffmpeg.wait(std::chrono::seconds(120));
    EXPECT_TRUE(end.exited && end.status == ExitStatus::Done) << "cannot make " << name;
    return path;
}

std::string containerTitle(const std::string& path) {
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
        return "(cannot open)";
    }
    InputContextPtr input(raw);
    const AVDictionaryEntry* entry = av_dict_get(input->metadata, "title", nullptr, 0);
    return entry ? entry->value : "(none)";
}

// The thumbnail decoded with libavcodec: its size and mean luma; width 0
// when it does not decode as a JPEG.
struct DecodedJpeg {
    int width = 0;
    int height = 0;
    double luma = 0;
    bool baseline = false;  // a baseline frame header, no progressive one
};

DecodedJpeg decodeJpeg(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    DecodedJpeg result;
    result.baseline =
        bytes.find("\xff\xc0") != std::string::npos && bytes.find("\xff\xc2") == std::string::npos;
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_MJPEG);
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    PacketPtr packet = makePacket();
    FramePtr frame = makeFrame();
    if (bytes.empty() || avcodec_open2(decoder.get(), codec, nullptr) < 0 ||
        av_new_packet(packet.get(), static_cast<int>(bytes.size())) < 0) {
        return result;
    }
    std::copy(bytes.begin(), bytes.end(), packet->data);
    if (avcodec_send_packet(decoder.get(), packet.get()) < 0 ||
        avcodec_receive_frame(decoder.get(), frame.get()) < 0) {
        return result;
    }
    result.width = frame->width;
    result.height = frame->height;
    result.luma = averageLuma(frame.get());
    return result;
}

struct Profile {
    const char* name;
    std::string videoCodec;
    std::string videoSize;
};

const Profile kMp4Profiles[] = {
    {"MPEG-4 320x240", "MPEG4", "320x240"},
    {"MPEG-4 480x272", "MPEG4", "480x272"},
    {"H.264 320x240", "h264", "320x240"},
};

JobLine lineFor(const TempDir& dir, const std::string& source, const Profile& profile) {
    JobLine job;
    job.source = source;
    job.output = dir.file("M4V00001.mp4");
    job.folder = dir.folder();
    job.videoCodec = profile.videoCodec;
    job.videoSize = profile.videoSize;
    job.videoBitrate = "768";
    job.sourceWidth = 640;
    job.sourceHeight = 360;
    job.thumbnail = true;
    return job;
}

TEST(HandheldOutput, EveryMp4ProfileGetsTitleAndThumbnail) {
    TempDir dir;
    const std::string source = makeSource(dir, "dark start.mp4", "Évening: news");
    for (const Profile& profile : kMp4Profiles) {
        SCOPED_TRACE(profile.name);
        const JobLine job = lineFor(dir, source, profile);
        const ProcessEnd end = runEngineLine(composeCommandLine(job), dir.file("log.txt"));
        ASSERT_TRUE(end.exited);
        ASSERT_EQ(end.status, ExitStatus::Done);
        EXPECT_EQ(containerTitle(job.output), "Évening: news");
        const DecodedJpeg thumbnail = decodeJpeg(dir.file("M4V00001.THM"));
        EXPECT_EQ(thumbnail.width, 160);
        EXPECT_EQ(thumbnail.height, 120);
        EXPECT_TRUE(thumbnail.baseline);
        // The black start is passed over for the bright picture after it;
        // the wide profile's bands take part of the picture.
        EXPECT_GT(thumbnail.luma, 90.0);
        EXPECT_FALSE(fs::exists(dir.file("M4V00001.THM.part")));
    }
}

TEST(HandheldOutput, TitleFromTheFileNameWithoutOne) {
    TempDir dir;
    const std::string source = makeSource(dir, "Holiday 2023.mp4", "");
    for (const Profile& profile : {kMp4Profiles[0], kMp4Profiles[2]}) {
        SCOPED_TRACE(profile.name);
        JobLine job = lineFor(dir, source, profile);
        job.thumbnail = false;
        const ProcessEnd end = runEngineLine(composeCommandLine(job), dir.file("log.txt"));
        ASSERT_TRUE(end.exited && end.status == ExitStatus::Done);
        EXPECT_EQ(containerTitle(job.output), "Holiday 2023");
        EXPECT_FALSE(fs::exists(dir.file("M4V00001.THM"))) << "no thumbnail when not asked";
    }
    // Without sound the container is plain MP4, and carries the title too.
    JobLine silent = lineFor(dir, source, kMp4Profiles[0]);
    silent.audioDisabled = "yes";
    ASSERT_EQ(runEngineLine(composeCommandLine(silent), dir.file("log.txt")).status,
              ExitStatus::Done);
    EXPECT_EQ(containerTitle(silent.output), "Holiday 2023");
}

TEST(HandheldOutput, NoThumbnailWithoutAPicture) {
    TempDir dir;
    const std::string source = makeSource(dir, "song.mp4", "");
    JobLine mp3 = lineFor(dir, source, kMp4Profiles[0]);
    mp3.format = "mp3";
    mp3.output = dir.file("song.mp3");
    ASSERT_EQ(runEngineLine(composeCommandLine(mp3) + " -thumbnail " + dir.file("song.THM"),
                            dir.file("log.txt"))
                  .status,
              ExitStatus::Done);
    EXPECT_TRUE(fs::exists(mp3.output));
    EXPECT_FALSE(fs::exists(dir.file("song.THM")));
}

}  // namespace
}  // namespace zelvic::test
