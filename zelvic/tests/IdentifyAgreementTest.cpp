// The engine on the FFmpeg built for it identifies every kind of source as the
// same engine on Debian's shared FFmpeg does: the same info record, byte for
// byte, and the same exit status.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "Engine.h"
#include "records/ChannelFiles.h"

namespace zelvic::test {
namespace {

// Bump when a recipe changes, so that stale media are not reused.
constexpr const char* kKindsVersion = "v1";

// One small file per container and codec kind users bring, made by the
// ffmpeg tool.
std::vector<MediaRecipe> kinds() {
    const std::vector<std::string> video = {"-f", "lavfi", "-i",
                                            "testsrc2=size=160x120:rate=25:duration=1"};
    const std::vector<std::string> sdVideo = {"-f", "lavfi", "-i",
                                              "testsrc2=size=720x576:rate=25:duration=1"};
    const std::vector<std::string> audio = {"-f", "lavfi", "-i",
                                            "sine=frequency=440:sample_rate=44100:duration=1"};
    const std::vector<std::string> audio48 = {"-f", "lavfi", "-i",
                                              "sine=frequency=440:sample_rate=48000:duration=1"};
    auto make = [](const char* name, std::initializer_list<std::vector<std::string>> inputs,
                   std::vector<std::string> codecs) {
        MediaRecipe recipe{name, {"-v", "error", "-y"}};
        for (const auto& input : inputs) {
            recipe.args.insert(recipe.args.end(), input.begin(), input.end());
        }
        recipe.args.insert(recipe.args.end(), codecs.begin(), codecs.end());
        recipe.args.push_back("-shortest");
        return recipe;
    };
    const std::vector<std::string> x264 = {"-c:v", "libx264", "-preset", "ultrafast"};
    auto with = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    return {
        make("h264-aac.mp4", {video, audio}, with(x264, {"-c:a", "aac"})),
        make("h264-opus.mkv", {video, audio}, with(x264, {"-c:a", "libopus"})),
        make("mpeg4-mp3.avi", {video, audio}, {"-c:v", "mpeg4", "-c:a", "libmp3lame"}),
        make("mpeg2-mp2.mpg", {video, audio}, {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "vob"}),
        make("h264-aac.ts", {video, audio}, with(x264, {"-c:a", "aac", "-f", "mpegts"})),
        make("flv1-mp3.flv", {video, audio}, {"-c:v", "flv", "-c:a", "libmp3lame"}),
        make("wmv2-wma.wmv", {video, audio}, {"-c:v", "wmv2", "-c:a", "wmav2"}),
        make("theora-vorbis.ogv", {video, audio}, {"-c:v", "libtheora", "-c:a", "libvorbis"}),
        make("vp9-opus.webm", {video, audio},
             {"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-c:a", "libopus"}),
        make("av1-opus.mkv", {video, audio},
             {"-c:v", "libaom-av1", "-cpu-used", "8", "-b:v", "100k", "-c:a", "libopus"}),
        make("av1-aac.mp4", {video, audio},
             {"-c:v", "libaom-av1", "-cpu-used", "8", "-b:v", "100k", "-c:a", "aac"}),
        make("hevc-aac.mkv", {video, audio},
             {"-c:v", "libx265", "-preset", "ultrafast", "-x265-params", "log-level=error", "-c:a",
              "aac"}),
        make("prores-pcm.mov", {video, audio}, {"-c:v", "prores_ks", "-c:a", "pcm_s16le"}),
        make("dv.dv", {sdVideo, audio48},
             {"-ac", "2", "-c:v", "dvvideo", "-pix_fmt", "yuv420p", "-c:a", "pcm_s16le", "-f",
              "dv"}),
        make("gif.gif", {video}, {"-c:v", "gif"}),
        make("rv20-ac3.rm", {video, audio}, {"-c:v", "rv20", "-c:a", "ac3"}),
        make("mpeg2-pcm.mxf", {sdVideo, audio48},
             {"-c:v", "mpeg2video", "-b:v", "5M", "-c:a", "pcm_s16le"}),
        make("ffv1-flac.nut", {video, audio}, {"-c:v", "ffv1", "-c:a", "flac"}),
        make("alac.m4a", {audio}, {"-c:a", "alac"}),
        make("adpcm.wav", {audio}, {"-c:a", "adpcm_ms"}),
        make("mp3.mp3", {audio}, {"-c:a", "libmp3lame"}),
        // Decoded by Debian's build through an outside library only.
        make("speex.spx", {audio}, {"-ar", "16000", "-c:a", "libspeex"}),
    };
}

struct Identified {
    ProcessEnd end;
    std::string record;  // empty: no info file
    std::string log;
};

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Identified identifyWith(const std::string& engine, const std::string& source) {
    TempDir dir;
    Process run(engine,
                {source, "-vo", "null", "-nosound", "-identify", "-currentfolder", dir.folder()},
                dir.file("log.txt"));
    return {run.wait(std::chrono::seconds(60)),
            contentOf(dir.file(std::string(pelorine::channel::kInfoFileName))),
            contentOf(dir.file("log.txt"))};
}

TEST(IdentifyAgreement, EveryKindOfSourceGivesTheRecordOfDebiansBuild) {
#ifndef ZELVIC_DEBIAN_ENGINE
    GTEST_SKIP() << "built without zelvic_debian (PELORINE_DEBIAN_ENGINE)";
#else
    std::vector<std::string> sources;
    for (const Fixture& fixture : fixtures()) {
        sources.push_back(fixturePath(fixture.name));
    }
    const std::vector<MediaRecipe> recipes = kinds();
    generateMedia("kinds", kKindsVersion, recipes);
    for (const MediaRecipe& recipe : recipes) {
        sources.push_back((mediaFolder("kinds", kKindsVersion) / recipe.name).string());
    }
    for (const std::string& source : sources) {
        SCOPED_TRACE(source);
        const Identified ours = identifyWith(enginePath(), source);
        const Identified debians = identifyWith(ZELVIC_DEBIAN_ENGINE, source);
        ASSERT_TRUE(ours.end.exited && debians.end.exited);
        EXPECT_EQ(ours.end.status, debians.end.status);
        EXPECT_EQ(ours.end.status, ExitStatus::Done);
        EXPECT_TRUE(ours.record == debians.record) << "ours:\n"
                                                   << ours.log << "Debian's:\n"
                                                   << debians.log;
    }
#endif
}

}  // namespace
}  // namespace zelvic::test
