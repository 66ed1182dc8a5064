#pragma once
// Text subtitles drawn with libass into the pictures as they leave the
// filter chain, at the output's own size, so the letters are as sharp as
// the handheld's screen allows. Styles, positions and colours are the
// script's; fonts are those the source carries (Matroska attachments),
// else the system's through fontconfig.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/FFmpeg.h"
#include "subtitles/TextEvents.h"

namespace zelvic {

// Where the source's picture lies in the output frame (the rest is the
// border expand adds), and the picture as it was stored.
struct PictureArea {
    int frameWidth = 0;
    int frameHeight = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int sourceWidth = 0;
    int sourceHeight = 0;
    double pixelAspect = 1.0;  // of the output's pixels
};

// A file the source carries (a Matroska attachment), its bytes taken out
// of its stream.
struct AttachedFile {
    std::string name;
    std::string mimeType;
    AVCodecID codec = AV_CODEC_ID_NONE;
    Owned<std::uint8_t, av_freep> data;  // av_freep: Owned passes it the pointer's address
    int size = 0;
};

// Takes the bytes of `input`'s attachments out of their streams, before the
// streams are analysed: that would copy them once more, and a file may carry
// tens of megabytes of fonts.
std::vector<AttachedFile> takeAttachments(AVFormatContext* input);

// A font file the source carries; the bytes stay the attachment's.
struct FontFile {
    std::string name;
    const std::uint8_t* data = nullptr;
    int size = 0;
};

// The fonts among a source's attachments (by their type, else their name).
std::vector<FontFile> attachedFonts(const std::vector<AttachedFile>& attachments);

// Fails, naming the font, when FreeType cannot read it.
Outcome checkFont(const FontFile& font);

class TextRenderer {
public:
    // Every font is checked first; one that cannot be loaded fails.
    static Result<std::unique_ptr<TextRenderer>> create(const TextEvents& events,
                                                        const std::vector<FontFile>& fonts,
                                                        const PictureArea& area);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Draws what shows at `ms` (on the events' timeline) into `frame`, a
    // 4:2:0 picture of the frame size given, made writable first when
    // something is drawn.
    Outcome burn(AVFrame* frame, std::int64_t ms);

private:
    struct Library;
    explicit TextRenderer(std::unique_ptr<Library> library);
    std::unique_ptr<Library> library_;
};

// One of libass's coverage masks laid into a 4:2:0 frame in `rgba`'s
// colour (0xRRGGBBAA, AA = transparency); exposed for its own tests.
void blendMask(AVFrame* frame, int x, int y, int width, int height, int stride,
               const std::uint8_t* mask, std::uint32_t rgba);

}  // namespace zelvic
