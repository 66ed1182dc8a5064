#include "subtitles/TextRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "common/VideoColour.h"

extern "C" {
#include <ass/ass.h>
}

namespace zelvic {
namespace {

bool endsWith(std::string name, std::string_view ending) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.ends_with(ending);
}

bool isFont(const AttachedFile& file) {
    if (file.codec == AV_CODEC_ID_TTF || file.codec == AV_CODEC_ID_OTF ||
        file.mimeType.find("font") != std::string::npos ||
        file.mimeType.find("opentype") != std::string::npos) {
        return true;
    }
    return endsWith(file.name, ".ttf") || endsWith(file.name, ".otf") ||
           endsWith(file.name, ".ttc");
}

std::string tag(const AVStream* stream, const char* key) {
    const AVDictionaryEntry* entry = av_dict_get(stream->metadata, key, nullptr, 0);
    return entry ? entry->value : "";
}

// libass tells of fonts it falls back from and of broken script lines; only
// its errors go into the log.
void logMessage(int level, const char* format, va_list arguments, void*) {
    if (level > 1) {
        return;
    }
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::printf("subtitles: libass: %s\n", text);
}

}  // namespace

struct TextRenderer::Library {
    ASS_Library* library = nullptr;
    ASS_Renderer* renderer = nullptr;
    ASS_Track* track = nullptr;
    ~Library() {
        if (track) {
            ass_free_track(track);
        }
        if (renderer) {
            ass_renderer_done(renderer);
        }
        if (library) {
            ass_library_done(library);
        }
    }
};

std::vector<AttachedFile> takeAttachments(AVFormatContext* input) {
    std::vector<AttachedFile> files;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        AVStream* stream = input->streams[i];
        AVCodecParameters* parameters = stream->codecpar;
        if (parameters->codec_type != AVMEDIA_TYPE_ATTACHMENT) {
            continue;
        }
        AttachedFile file;
        file.name = tag(stream, "filename");
        if (file.name.empty()) {
            file.name = "attachment " + std::to_string(i);
        }
        file.mimeType = tag(stream, "mimetype");
        file.codec = parameters->codec_id;
        file.data.reset(parameters->extradata);
        file.size = parameters->extradata_size;
        parameters->extradata = nullptr;
        parameters->extradata_size = 0;
        files.push_back(std::move(file));
    }
    return files;
}

std::vector<FontFile> attachedFonts(const std::vector<AttachedFile>& attachments) {
    std::vector<FontFile> fonts;
    for (const AttachedFile& file : attachments) {
        if (isFont(file)) {
            fonts.push_back({file.name, file.data.get(), file.size});
        }
    }
    return fonts;
}

Outcome checkFont(const FontFile& font) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return conversionFailed("cannot start FreeType to load the fonts");
    }
    FT_Face face = nullptr;
    const FT_Error error = font.data && font.size > 0
                               ? FT_New_Memory_Face(library, font.data, font.size, 0, &face)
                               : FT_Err_Invalid_Stream_Operation;
    if (face) {
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    if (error != 0) {
        return conversionFailed("the font \"" + font.name +
                                "\" the source carries cannot be loaded: it is not a font "
                                "FreeType reads");
    }
    return success();
}

TextRenderer::TextRenderer(std::unique_ptr<Library> library) : library_(std::move(library)) {}
TextRenderer::~TextRenderer() = default;

Result<std::unique_ptr<TextRenderer>> TextRenderer::create(const TextEvents& events,
                                                           const std::vector<FontFile>& fonts,
                                                           const PictureArea& area) {
    for (const FontFile& font : fonts) {
        if (auto checked = checkFont(font); !checked) {
            return checked.error();
        }
    }
    auto ass = std::make_unique<Library>();
    ass->library = ass_library_init();
    if (!ass->library) {
        return conversionFailed("cannot start libass to draw the subtitles");
    }
    ass_set_message_cb(ass->library, logMessage, nullptr);
    for (const FontFile& font : fonts) {
        ass_add_font(ass->library, font.name.c_str(), reinterpret_cast<const char*>(font.data),
                     font.size);
    }
    ass->renderer = ass_renderer_init(ass->library);
    ass->track = ass_new_track(ass->library);
    if (!ass->renderer || !ass->track) {
        return conversionFailed("cannot start libass to draw the subtitles");
    }
    ass_set_frame_size(ass->renderer, area.frameWidth, area.frameHeight);
    ass_set_storage_size(ass->renderer, area.sourceWidth, area.sourceHeight);
    ass_set_pixel_aspect(ass->renderer, area.pixelAspect);
    // The script places its lines on the picture, not on the border.
    ass_set_margins(ass->renderer, area.y, area.frameHeight - area.y - area.height, area.x,
                    area.frameWidth - area.x - area.width);
    ass_set_use_margins(ass->renderer, 0);
    ass_set_fonts(ass->renderer, nullptr, "sans-serif", ASS_FONTPROVIDER_AUTODETECT, nullptr, 1);
    std::string header = events.header;
    ass_process_codec_private(ass->track, header.data(), static_cast<int>(header.size()));
    for (const TextEvent& event : events.events) {
        std::string line = event.line;
        ass_process_chunk(ass->track, line.data(), static_cast<int>(line.size()), event.startMs,
                          event.durationMs);
    }
    return std::unique_ptr<TextRenderer>(new TextRenderer(std::move(ass)));
}

Outcome TextRenderer::burn(AVFrame* frame, std::int64_t ms) {
    int changed = 0;
    const ASS_Image* image = ass_render_frame(library_->renderer, library_->track, ms, &changed);
    if (!image || !isPlanar420(frame->format)) {
        return success();
    }
    // The encoder may still hold this picture (a repeated frame): draw on a copy.
    if (const int result = av_frame_make_writable(frame); result < 0) {
        return conversionFailed("cannot draw the subtitles: " + avErrorText(result));
    }
    for (; image; image = image->next) {
        blendMask(frame, image->dst_x, image->dst_y, image->w, image->h, image->stride,
                  image->bitmap, image->color);
    }
    return success();
}

void blendMask(AVFrame* frame, int x, int y, int width, int height, int stride,
               const std::uint8_t* mask, std::uint32_t rgba) {
    const int opacity = 255 - static_cast<int>(rgba & 0xFF);
    if (opacity <= 0) {
        return;
    }
    const Yuv colour = yuvOf(rgba >> 8);
    const int top = std::max(0, y), bottom = std::min(frame->height, y + height);
    const int left = std::max(0, x), right = std::min(frame->width, x + width);
    const auto alphaAt = [&](int column, int row) {
        if (row < top || row >= bottom || column < left || column >= right) {
            return 0;
        }
        return mask[(row - y) * stride + (column - x)] * opacity / 255;
    };
    for (int row = top; row < bottom; ++row) {
        std::uint8_t* line = frame->data[0] + row * frame->linesize[0];
        for (int column = left; column < right; ++column) {
            line[column] =
                mix(line[column], colour.y, static_cast<std::uint8_t>(alphaAt(column, row)));
        }
    }
    // Each chroma sample covers a 2x2 block: it takes the block's mean coverage.
    for (int row = top / 2; row * 2 < bottom; ++row) {
        std::uint8_t* u = frame->data[1] + row * frame->linesize[1];
        std::uint8_t* v = frame->data[2] + row * frame->linesize[2];
        for (int column = left / 2; column * 2 < right; ++column) {
            const int alpha =
                (alphaAt(column * 2, row * 2) + alphaAt(column * 2 + 1, row * 2) +
                 alphaAt(column * 2, row * 2 + 1) + alphaAt(column * 2 + 1, row * 2 + 1) + 2) /
                4;
            u[column] = mix(u[column], colour.u, static_cast<std::uint8_t>(alpha));
            v[column] = mix(v[column], colour.v, static_cast<std::uint8_t>(alpha));
        }
    }
}

}  // namespace zelvic
