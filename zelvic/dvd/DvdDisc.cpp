#include "dvd/DvdDisc.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "common/Languages.h"
#include "common/Owned.h"
#include "dvd/DvdPacks.h"

extern "C" {
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>
}

namespace zelvic {
namespace {

using IfoPtr = Owned<ifo_handle_t, ifoClose>;
using ReaderPtr = Owned<dvd_reader_t, DVDClose>;
using FilePtr = Owned<dvd_file_t, DVDCloseFile>;

// The library's warnings and errors go to our log; its chatter does not.
void logFromLibrary(void*, dvd_logger_level_t level, const char* format, va_list args) {
    if (level != DVD_LOGGER_LEVEL_ERROR && level != DVD_LOGGER_LEVEL_WARN) {
        return;
    }
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    std::printf("dvd: %s\n", text);
}

int fromBcd(std::uint8_t value) {
    return (value >> 4) * 10 + (value & 0x0F);
}

// A playing time of the information files in 90 kHz ticks. The two top bits
// of the frame byte give the rate: 1 for 25 frames a second, 3 for 29.97.
std::int64_t ticksOf(const dvd_time_t& time) {
    const std::int64_t seconds =
        fromBcd(time.hour) * 3600 + fromBcd(time.minute) * 60 + fromBcd(time.second);
    const std::int64_t frameTicks = (time.frame_u >> 6) == 1 ? 3600 : 3003;
    return seconds * kPtsClock + fromBcd(time.frame_u & 0x3F) * frameTicks;
}

std::string twoLetters(std::uint16_t code) {
    std::string text;
    for (const int shift : {8, 0}) {
        const char letter = static_cast<char>((code >> shift) & 0xFF);
        if (letter >= 'a' && letter <= 'z') {
            text += letter;
        } else if (letter >= 'A' && letter <= 'Z') {
            text += static_cast<char>(letter - 'A' + 'a');
        }
    }
    return text.size() == 2 ? text : std::string();
}

// The demuxer's id and the note of an audio stream, or id -1 for a format a
// program stream does not carry.
std::pair<int, std::string> audioKind(const audio_attr_t& attributes, int number) {
    switch (attributes.audio_format) {
        case 0:
            return {0x80 + number, "ac3"};
        case 2:
        case 3:
            return {0xC0 + number, "mp2"};
        case 4:
            return {0xA0 + number, "lpcm"};
        case 6:
            return {0x88 + number, "dts"};
        default:
            return {-1, {}};
    }
}

void describeAudio(const vtsi_mat_t& mat, const pgc_t& pgc, DvdTitle& title) {
    for (int i = 0; i < 8 && i < mat.nr_of_vts_audio_streams; ++i) {
        const std::uint16_t control = pgc.audio_control[i];
        if (!(control & 0x8000)) {
            continue;
        }
        const audio_attr_t& attributes = mat.vts_audio_attr[i];
        const auto [id, format] = audioKind(attributes, (control >> 8) & 0x07);
        if (id < 0) {
            continue;
        }
        const std::string code = attributes.lang_type == 1 ? twoLetters(attributes.lang_code) : "";
        title.audio.push_back({id, languageName(code),
                               format + " " + std::to_string(attributes.channels + 1) + "ch"});
    }
}

void describeSubtitles(const vtsi_mat_t& mat, const pgc_t& pgc, DvdTitle& title) {
    for (int i = 0; i < 32 && i < mat.nr_of_vts_subp_streams; ++i) {
        const std::uint32_t control = pgc.subp_control[i];
        if (!(control & 0x80000000u)) {
            continue;
        }
        // Wide titles name the stream made for a 16:9 picture.
        const int number = static_cast<int>((control >> (title.wide ? 16 : 24)) & 0x1F);
        const subp_attr_t& attributes = mat.vts_subp_attr[i];
        const std::string code = attributes.type == 1 ? twoLetters(attributes.lang_code) : "";
        title.subtitles.push_back({0x20 + number, languageName(code)});
    }
}

void describePicture(const video_attr_t& video, DvdTitle& title) {
    static constexpr int kWidths[] = {720, 704, 352, 352};
    title.codedWidth = kWidths[video.picture_size & 3];
    title.codedHeight = video.video_format == 1 ? 576 : 480;
    if (video.picture_size == 3) {
        title.codedHeight /= 2;
    }
    title.wide = video.display_aspect_ratio == 3;
}

// The program chain and the cells of one chapter.
struct ChapterCells {
    const pgc_t* pgc = nullptr;
    int firstCell = 0;  // 0-based, inclusive
    int lastCell = 0;
};

Result<ChapterCells> chapterCells(const ifo_handle_t& vts, const ttu_t& unit, int chapter) {
    const ptt_info_t& part = unit.ptt[chapter - 1];
    const pgcit_t* chains = vts.vts_pgcit;
    if (!chains || part.pgcn < 1 || part.pgcn > chains->nr_of_pgci_srp) {
        return sourceUnreadable("the disc's title table is damaged (chapter " +
                                std::to_string(chapter) + ")");
    }
    const pgc_t* pgc = chains->pgci_srp[part.pgcn - 1].pgc;
    if (!pgc || !pgc->program_map || !pgc->cell_playback || part.pgn < 1 ||
        part.pgn > pgc->nr_of_programs) {
        return sourceUnreadable("the disc's program chain is damaged (chapter " +
                                std::to_string(chapter) + ")");
    }
    ChapterCells cells;
    cells.pgc = pgc;
    cells.firstCell = pgc->program_map[part.pgn - 1] - 1;
    cells.lastCell =
        (part.pgn < pgc->nr_of_programs ? pgc->program_map[part.pgn] : pgc->nr_of_cells + 1) - 2;
    if (cells.firstCell < 0 || cells.lastCell >= pgc->nr_of_cells ||
        cells.firstCell > cells.lastCell) {
        return sourceUnreadable("the disc's cell table is damaged (chapter " +
                                std::to_string(chapter) + ")");
    }
    return cells;
}

// Only the first angle of an angle block plays.
bool playsCell(const cell_playback_t& cell) {
    return cell.block_type != BLOCK_TYPE_ANGLE_BLOCK || cell.block_mode == BLOCK_MODE_FIRST_CELL;
}

class VobReader final : public DvdSectorReader {
public:
    explicit VobReader(FilePtr file) : file_(std::move(file)) {}
    int read(std::uint32_t sector, int count, std::uint8_t* into) override {
        const ssize_t read = DVDReadBlocks(file_.get(), static_cast<int>(sector),
                                           static_cast<std::size_t>(count), into);
        return static_cast<int>(read);
    }

private:
    FilePtr file_;
};

}  // namespace

struct DvdDisc::Handles {
    ReaderPtr reader;
    IfoPtr manager;  // VIDEO_TS.IFO: the title table
};

std::int64_t DvdTitle::lengthTicks() const {
    std::int64_t ticks = 0;
    for (const DvdCell& cell : cells) {
        ticks += cell.length;
    }
    return ticks;
}

double DvdTitle::lengthSeconds() const {
    return static_cast<double>(lengthTicks()) / kPtsClock;
}

int DvdTitle::displayWidth() const {
    const double aspect = wide ? 16.0 / 9.0 : 4.0 / 3.0;
    return static_cast<int>(std::lround(codedHeight * aspect / 2.0)) * 2;
}

DvdDisc::DvdDisc(std::string device, std::unique_ptr<Handles> handles)
    : device_(std::move(device)), handles_(std::move(handles)) {}

DvdDisc::~DvdDisc() = default;

Result<std::unique_ptr<DvdDisc>> DvdDisc::open(const std::string& device) {
    static const dvd_logger_cb kLogger = {logFromLibrary};
    auto handles = std::make_unique<Handles>();
    handles->reader.reset(DVDOpen2(nullptr, &kLogger, device.c_str()));
    if (!handles->reader) {
        return sourceUnreadable("cannot open the DVD \"" + device + "\"");
    }
    handles->manager.reset(ifoOpen(handles->reader.get(), 0));
    if (!handles->manager || !handles->manager->tt_srpt ||
        handles->manager->tt_srpt->nr_of_srpts == 0) {
        return sourceUnreadable("\"" + device +
                                "\" is not a DVD-Video disc (no readable VIDEO_TS)");
    }
    return std::unique_ptr<DvdDisc>(new DvdDisc(device, std::move(handles)));
}

int DvdDisc::titleCount() const {
    return handles_->manager->tt_srpt->nr_of_srpts;
}

int DvdDisc::chapterCount(int number) const {
    if (number < 1 || number > titleCount()) {
        return 0;
    }
    return handles_->manager->tt_srpt->title[number - 1].nr_of_ptts;
}

Result<DvdTitle> DvdDisc::title(int number, int first, int last) const {
    if (number < 1 || number > titleCount()) {
        return sourceUnreadable("the DVD has " + std::to_string(titleCount()) +
                                " titles; there is no title " + std::to_string(number));
    }
    const title_info_t& info = handles_->manager->tt_srpt->title[number - 1];
    IfoPtr vts(ifoOpen(handles_->reader.get(), info.title_set_nr));
    if (!vts || !vts->vtsi_mat || !vts->vts_ptt_srpt ||
        info.vts_ttn > vts->vts_ptt_srpt->nr_of_srpts || info.vts_ttn < 1) {
        return sourceUnreadable("cannot read the information of title " + std::to_string(number));
    }
    const ttu_t& unit = vts->vts_ptt_srpt->title[info.vts_ttn - 1];
    DvdTitle title;
    title.number = number;
    title.titleSet = info.title_set_nr;
    title.chapterCount = unit.nr_of_ptts;
    title.chapterFirst = first > 0 ? first : 1;
    title.chapterLast = last > 0 ? std::min(last, title.chapterCount) : title.chapterCount;
    if (title.chapterFirst > title.chapterCount || title.chapterFirst > title.chapterLast) {
        return sourceUnreadable("title " + std::to_string(number) + " has " +
                                std::to_string(title.chapterCount) + " chapters; chapters " +
                                std::to_string(title.chapterFirst) + "-" + std::to_string(last) +
                                " do not exist");
    }
    describePicture(vts->vtsi_mat->vts_video_attr, title);
    for (int chapter = title.chapterFirst; chapter <= title.chapterLast; ++chapter) {
        auto cells = chapterCells(*vts, unit, chapter);
        if (!cells) {
            return cells.error();
        }
        if (chapter == title.chapterFirst) {
            describeAudio(*vts->vtsi_mat, *cells->pgc, title);
            describeSubtitles(*vts->vtsi_mat, *cells->pgc, title);
            // The chain is a packed structure: copy its palette member by member.
            for (std::size_t i = 0; i < title.palette.size(); ++i) {
                title.palette[i] = cells->pgc->palette[i];
            }
        }
        for (int i = cells->firstCell; i <= cells->lastCell; ++i) {
            const cell_playback_t& cell = cells->pgc->cell_playback[i];
            if (playsCell(cell) && cell.last_sector >= cell.first_sector) {
                title.cells.push_back(
                    {cell.first_sector, cell.last_sector, ticksOf(cell.playback_time)});
            }
        }
    }
    return title;
}

Result<std::unique_ptr<DvdSectorReader>> DvdDisc::openTitleVobs(int titleSet) const {
    FilePtr file(DVDOpenFile(handles_->reader.get(), titleSet, DVD_READ_TITLE_VOBS));
    if (!file) {
        return sourceUnreadable("cannot open the video files of title set " +
                                std::to_string(titleSet));
    }
    return std::unique_ptr<DvdSectorReader>(new VobReader(std::move(file)));
}

}  // namespace zelvic
