#include <gtest/gtest.h>

#include <cmath>

#include "CommandLines.h"
#include "options/Options.h"

namespace zelvic {
namespace {

Result<Options> parse(const std::string& line) {
    const auto args = test::splitCommandLine(line);
    return parseOptions(args);
}

Options parseOk(const std::string& line) {
    auto options = parse(line);
    EXPECT_TRUE(options.ok()) << line << ": " << (options.ok() ? "" : options.error().message);
    return options.ok() ? *options : Options{};
}

TEST(Options, IdentifyLineOfTheConverter) {
    const Options o = parseOk(
        R"( "/home/a b/clip.avi"  -vo null -nosound -identify -currentfolder "/run/user/0/pelorine/" )");
    EXPECT_EQ(o.mode(), Mode::Identify);
    EXPECT_EQ(o.source, "/home/a b/clip.avi");
    EXPECT_EQ(o.sourceKind, SourceKind::File);
    EXPECT_TRUE(o.noSound);
    EXPECT_EQ(o.videoOut, "null");
    EXPECT_EQ(o.currentFolder, "/run/user/0/pelorine/");
}

TEST(Options, DvdAndVcdSources) {
    Options o = parseOk(R"( dvd://2 -dvd-device "/media/disc" -chapter 1-5  -aid 128 -identify)");
    EXPECT_EQ(o.sourceKind, SourceKind::DvdTitle);
    EXPECT_EQ(o.title, 2);
    EXPECT_EQ(o.dvdDevice, "/media/disc");
    EXPECT_EQ(o.chapterFirst, 1);
    EXPECT_EQ(o.chapterLast, 5);
    EXPECT_EQ(o.audioId, 128);
    EXPECT_EQ(o.subtitleId, -1);
    o = parseOk("vcd://3 -cdrom-device /dev/sr0 -chapter 4 -sid 0");
    EXPECT_EQ(o.sourceKind, SourceKind::VcdTrack);
    EXPECT_EQ(o.title, 3);
    EXPECT_EQ(o.chapterFirst, 4);
    EXPECT_EQ(o.chapterLast, 0);
    EXPECT_EQ(o.subtitleId, 0);
    EXPECT_EQ(o.mode(), Mode::Play);
}

TEST(Options, PlayLineKeepsPlayerSettings) {
    const Options o = parseOk(
        "a.avi -ss 12 -endpos 30 -vo directx:noaccel -ao dsound -framedrop -autosync 0 -mc 0 "
        "-slave -wid 0x3a00007 -colorkey 0x000102 -keepaspect -priority abovenormal");
    EXPECT_EQ(o.mode(), Mode::Play);
    EXPECT_EQ(o.windowId, 0x3a00007u);
    EXPECT_EQ(o.colorKey, 0x000102u);
    EXPECT_TRUE(o.slave && o.frameDrop && o.keepAspect);
    EXPECT_DOUBLE_EQ(o.start, 12);
    EXPECT_EQ(o.end.seconds, 30);
}

TEST(Options, EveryBuiltInLineParses) {
    struct Case {
        const char* name;
        test::JobLine job;
    };
    test::JobLine base;
    base.source = "/tmp/In Put.avi";
    base.output = "/tmp/out.mp4";
    base.folder = "/run/user/0/pelorine/";
    std::vector<Case> cases;
    cases.push_back({"mpeg4 320", base});
    auto wide = base;
    wide.videoSize = "480x272";
    cases.push_back({"mpeg4 480", wide});
    auto h264 = base;
    h264.videoCodec = "h264";
    h264.videoBitrate = "768";
    cases.push_back({"h264", h264});
    auto mp3 = base;
    mp3.format = "mp3";
    mp3.output = "/tmp/out.mp3";
    cases.push_back({"mp3", mp3});
    auto silent = base;
    silent.audioDisabled = "yes";
    cases.push_back({"mpeg4 silent", silent});
    auto silentH264 = h264;
    silentH264.audioDisabled = "yes";
    cases.push_back({"h264 silent", silentH264});
    auto noVideo = base;
    noVideo.videoDisabled = "yes";
    cases.push_back({"audio only", noVideo});
    auto tuned = base;
    tuned.audioChannel = "Left Mono";
    tuned.audioVolume = "normalize";
    tuned.videoFrameRate = "29.97";
    tuned.timing = " -ss 60.000000 -endpos 650mb ";
    cases.push_back({"tuned", tuned});

    for (const auto& [name, job] : cases) {
        SCOPED_TRACE(name);
        const Options o = parseOk(test::composeCommandLine(job));
        EXPECT_EQ(o.mode(), Mode::Encode);
        EXPECT_EQ(o.source, job.source);
        EXPECT_EQ(o.output, job.output);
        EXPECT_EQ(o.currentFolder, job.folder);
    }
}

TEST(Options, RepeatedFiltersAppendAndLastFormatWins) {
    test::JobLine job;
    job.source = "in.avi";
    job.output = "out.mp4";
    job.folder = "/f/";
    Options o = parseOk(test::composeCommandLine(job));
    ASSERT_EQ(o.videoFilters.size(), 4u);  // scale, harddup, expand, then the second harddup
    const auto& scale = std::get<ScaleStep>(o.videoFilters[0]);
    EXPECT_EQ(scale.width, 320);
    EXPECT_EQ(scale.height, kKeepAspect);
    EXPECT_TRUE(std::holds_alternative<HardDupStep>(o.videoFilters[1]));
    const auto& expand = std::get<ExpandStep>(o.videoFilters[2]);
    EXPECT_EQ(expand.width, 320);
    EXPECT_EQ(expand.height, 240);
    EXPECT_EQ(expand.x, -1);
    EXPECT_TRUE(expand.osd);
    EXPECT_EQ(o.lavfFormat, "psp");
    EXPECT_EQ(o.lavc.vcodec, "mpeg4");
    EXPECT_EQ(o.lavc.acodec, "aac");
    EXPECT_EQ(o.lavc.abitrate, 128);
    EXPECT_EQ(o.lavc.vbitrate, 1200);
    EXPECT_EQ(o.sampleRate, 44100);

    job.videoDisabled = "yes";
    o = parseOk(test::composeCommandLine(job));
    EXPECT_EQ(o.container, Container::RawAudio);
    EXPECT_EQ(o.videoEncoder, VideoEncoder::None);
    EXPECT_EQ(o.fourcc, "mp4v");

    o = parseOk(
        "in -o a -o b -ovc frameno -ovc lavc -lavcopts vcodec=h264 -lavcopts vcodec=mpeg4 "
        "-of rawaudio -of lavf -lavfopts format=mp4 -oac lavc -oac mp3lame -af volnorm "
        "-af volume=-3db");
    EXPECT_EQ(o.output, "b");
    EXPECT_EQ(o.videoEncoder, VideoEncoder::Lavc);
    EXPECT_EQ(o.lavc.vcodec, "mpeg4");
    EXPECT_EQ(o.container, Container::Lavf);
    EXPECT_EQ(o.audioEncoder, AudioEncoder::Mp3Lame);
    ASSERT_EQ(o.audioFilters.size(), 2u);
    EXPECT_TRUE(std::holds_alternative<VolNormStep>(o.audioFilters[0]));
    EXPECT_DOUBLE_EQ(std::get<VolumeStep>(o.audioFilters[1]).decibels, -3);
}

TEST(Options, LavcoptsOfTheH264Lines) {
    const Options o = parseOk(
        "in -o o.mp4 -ovc lavc -of lavf -lavfopts format=mp4 -lavcopts "
        "keyint=500:level=13:vqmin=20:vqmax=31:vrc_maxrate=768:vratetol=10:bit_exact:coder=0:"
        "aglobal=1:vglobal=1:vcodec=h264:vbitrate=768:v4mv:qpel:trell=lambda:mbd=1:vme=1");
    EXPECT_EQ(o.lavc.keyint, 500);
    EXPECT_EQ(o.lavc.level, 13);
    EXPECT_EQ(o.lavc.vqmin, 20);
    EXPECT_EQ(o.lavc.vqmax, 31);
    EXPECT_EQ(o.lavc.vrcMaxrate, 768);
    EXPECT_EQ(o.lavc.coder, 0);
    EXPECT_TRUE(o.lavc.bitExact && o.lavc.v4mv && o.lavc.qpel && o.lavc.vglobal);
    EXPECT_EQ(o.lavc.trell, 1);
    EXPECT_EQ(o.lavc.mbd, 1);
}

TEST(Options, AudioFilters) {
    Options o = parseOk("in -af channels=2:2:1:0:1:1,pan=1:0.5:0.5,volume=+5db:sc,volnorm");
    ASSERT_EQ(o.audioFilters.size(), 4u);
    const auto& channels = std::get<ChannelsStep>(o.audioFilters[0]);
    EXPECT_EQ(channels.outputs, 2);
    ASSERT_EQ(channels.routes.size(), 2u);
    EXPECT_EQ(channels.routes[1].from, 1);
    EXPECT_EQ(channels.routes[1].to, 1);
    const auto& pan = std::get<PanStep>(o.audioFilters[1]);
    EXPECT_EQ(pan.outputs, 1);
    EXPECT_EQ(pan.gains, (std::vector<double>{0.5, 0.5}));
    const auto& volume = std::get<VolumeStep>(o.audioFilters[2]);
    EXPECT_DOUBLE_EQ(volume.decibels, 5);
    EXPECT_TRUE(volume.softClip);
}

TEST(Options, EndLimits) {
    struct Case {
        const char* text;
        std::optional<double> seconds;
        std::optional<std::int64_t> bytes;
    };
    const Case cases[] = {
        {"12.5", 12.5, {}},
        {"00:10:00", 600, {}},
        {"01:02:03.5", 3723.5, {}},
        {"2:30", 150, {}},
        {"650mb", {}, 650LL * 1024 * 1024},
        {"650MB", {}, 650LL * 1024 * 1024},
        {"4.7gb", {}, static_cast<std::int64_t>(4.7 * 1024 * 1024 * 1024)},
        {"100kb", {}, 102400},
        {"5000b", {}, 5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto limit = parseEndLimit(c.text);
        ASSERT_TRUE(limit);
        EXPECT_EQ(limit->seconds, c.seconds);
        EXPECT_EQ(limit->bytes, c.bytes);
    }
    for (const char* bad : {"", "mb", "-5", "1:2:3:4", "12x", "0mb", "1.5:00", "ten"}) {
        EXPECT_FALSE(parseEndLimit(bad)) << bad;
    }
}

TEST(Options, FrameRates) {
    struct Case {
        const char* text;
        int num;
        int den;
    };
    const Case cases[] = {{"25", 25, 1},           {"29.97", 30000, 1001},
                          {"23.976", 24000, 1001}, {"14.985", 15000, 1001},
                          {"59.94", 60000, 1001},  {"13", 13, 1},
                          {"12.5", 12500, 1000},   {"30000/1001", 30000, 1001}};
    for (const auto& c : cases) {
        const auto rate = parseFrameRate(c.text);
        ASSERT_TRUE(rate) << c.text;
        EXPECT_EQ(rate->num, c.num) << c.text;
        EXPECT_EQ(rate->den, c.den) << c.text;
    }
    for (const char* bad : {"0", "-25", "abc", "25/0", ""}) {
        EXPECT_FALSE(parseFrameRate(bad)) << bad;
    }
}

TEST(Options, BadCommandLinesAreOneLineErrors) {
    const char* lines[] = {
        "",                                                       // no source
        "in -bogus",                                              // unknown option
        "in -ss",                                                 // value missing
        "in -ss abc",                                             // malformed time
        "in -endpos 12q",                                         // malformed length
        "in -srate fast",                                         // malformed rate
        "in -vf scale=a:b",                                       // malformed filter value
        "in -vf blur",                                            // unknown video filter
        "in -af echo",                                            // unknown audio filter
        "in -af channels=2:2:0:0",                                // route count and pairs disagree
        "in -af channels=1:1:0:1",                                // route to a missing output
        "in -af pan=2:0.5",                                       // gains not a multiple of outputs
        "in -ovc x264",                                           // unknown encoder
        "in -oac pcm",                                            // unknown encoder
        "in -of avi",                                             // unknown container
        "in -lavcopts vcodec=mpeg2video",                         // unknown codec
        "in -lavcopts nonsense=1",                                // unknown setting
        "in -lavcopts vbitrate=-5",                               // negative rate
        "in -lameopts br=x",                                      // malformed bitrate
        "in -lavfopts bogus",                                     // unknown muxer setting
        "in -chapter 5-2",                                        // backwards range
        "dvd://x",                                                // malformed title
        "in -colorkey 0x1000000",                                 // colour out of range
        "in second",                                              // two sources
        "in -o out.mp4 -of lavf -lavfopts format=mp4",            // no -ovc
        "in -o out.mp4 -ovc frameno -nosound -of rawaudio",       // nothing to encode
        "in -o out.mp4 -ovc lavc -of lavf -lavfopts format=mp4",  // no vcodec
        "in -o out.mp4 -ovc lavc -lavcopts vcodec=mpeg4",         // no -of
        "in -nosound  XXX  -ovc frameno -of rawaudio -o x.mp4",   // both disabled
    };
    for (const char* line : lines) {
        const auto result = parse(line);
        ASSERT_FALSE(result.ok()) << line;
        EXPECT_EQ(result.error().code, ExitStatus::BadCommandLine) << line;
        EXPECT_EQ(result.error().message.find('\n'), std::string::npos) << line;
        EXPECT_FALSE(result.error().message.empty()) << line;
    }
}

TEST(CommandLineSplitting, WindowsRules) {
    EXPECT_EQ(test::splitCommandLine(R"( "a b"  c "d\"e" "f\\" g\h )"),
              (std::vector<std::string>{"a b", "c", "d\"e", "f\\", "g\\h"}));
}

}  // namespace
}  // namespace zelvic
