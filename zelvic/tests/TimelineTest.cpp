#include <gtest/gtest.h>

#include "front/Timeline.h"

namespace zelvic {
namespace {

using Context = Owned<AVFormatContext, avformat_free_context>;

// A source of `format` with a picture (stream 0) and a sound (stream 1),
// both counted in 90 kHz ticks.
Context source(const char* format) {
    Context context(avformat_alloc_context());
    context->iformat = av_find_input_format(format);
    for (AVMediaType type : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
        AVStream* stream = avformat_new_stream(context.get(), nullptr);
        stream->codecpar->codec_type = type;
        stream->time_base = {1, 90000};
    }
    return context;
}

// Places one packet of `stream` at `ticks` lasting `duration`; returns its placed dts.
std::int64_t place(Timeline& timeline, int stream, std::int64_t ticks,
                   std::int64_t duration = 3600) {
    PacketPtr packet = makePacket();
    packet->stream_index = stream;
    packet->pts = packet->dts = ticks;
    packet->duration = duration;
    timeline.place(packet.get());
    return packet->dts;
}

constexpr std::int64_t kSecond = 90000;

TEST(Timeline, ASecondRecordingContinuesWhereTheFirstEnded) {
    auto input = source("mpegts");
    Timeline timeline(input.get());
    ASSERT_TRUE(timeline.active());
    for (std::int64_t t = 10 * kSecond; t <= 10 * kSecond + 7200; t += 3600) {
        EXPECT_EQ(place(timeline, 0, t), t);
    }
    EXPECT_EQ(place(timeline, 1, 10 * kSecond + 7000, 2000), 10 * kSecond + 7000);
    // The picture restarts at 0: it goes on where it ended.
    const std::int64_t end = 10 * kSecond + 10800;
    EXPECT_EQ(place(timeline, 0, 0), end);
    // Sound of the first recording still arriving stays where it was; the
    // second recording's sound moves with the picture.
    EXPECT_EQ(place(timeline, 1, 10 * kSecond + 9000, 2000), 10 * kSecond + 9000);
    EXPECT_EQ(place(timeline, 1, 1000, 2000), end + 1000);
    EXPECT_EQ(place(timeline, 0, 3600), end + 3600);
    EXPECT_EQ(timeline.offsets().size(), 2u);
}

TEST(Timeline, OneDamagedTimestampIsNotAJump) {
    auto input = source("mpeg");
    Timeline timeline(input.get());
    for (std::int64_t t = 0; t <= 7200; t += 3600) {
        place(timeline, 0, t);
    }
    // Ten seconds ahead, then back on course: the odd one is placed in line.
    EXPECT_EQ(place(timeline, 0, 10 * kSecond), 10800);
    EXPECT_EQ(place(timeline, 0, 14400), 14400);
    EXPECT_EQ(place(timeline, 0, 18000), 18000);
    EXPECT_EQ(timeline.offsets().size(), 1u);
    // A sound timestamp far back where the picture did not jump loses its time.
    EXPECT_EQ(place(timeline, 1, 2 * kSecond, 2000), 2 * kSecond);
    EXPECT_EQ(place(timeline, 1, 0, 2000), AV_NOPTS_VALUE);
}

TEST(Timeline, SmallJumpsAndOtherFormatsAreLeftAlone) {
    auto transport = source("mpegts");
    Timeline timeline(transport.get());
    place(timeline, 0, kSecond);
    // A little back (less than kJumpBack) and a little forward (a gap).
    EXPECT_EQ(place(timeline, 0, kSecond - 9000), kSecond - 9000);
    EXPECT_EQ(place(timeline, 0, 4 * kSecond), 4 * kSecond);
    auto mp4 = source("mov,mp4,m4a,3gp,3g2,mj2");
    Timeline identity(mp4.get());
    EXPECT_FALSE(identity.active());
    place(identity, 0, kSecond);
    EXPECT_EQ(place(identity, 0, 0), 0);
}

}  // namespace
}  // namespace zelvic
