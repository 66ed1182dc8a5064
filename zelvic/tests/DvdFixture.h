#pragma once
// The test DVD (media/make_dvd.sh), built once per machine and shared by the
// engine's and the converter's tests: what it holds, and where it is.

#include <string>

namespace pelorine::dvdtest {

struct DvdFixture {
    std::string disc;     // the folder that holds VIDEO_TS
    std::string videoTs;  // the VIDEO_TS folder itself
    std::string image;    // the same disc as an ISO image
};

// Builds the disc on first use (a few seconds); throws when it cannot.
const DvdFixture& dvdFixture();

// A copy of the disc folder at `into` whose video packs from sector
// `firstSector` of title 1's VOB on say they are scrambled, as on a disc
// with copy protection read without a decryption library. Its path.
std::string scrambledCopy(const std::string& into, long firstSector = 0);

// What the disc was made with.
inline constexpr int kTitles = 3;
inline constexpr double kChapter1Seconds = 3.0;  // title 1, chapter 1
inline constexpr double kChapter2Seconds = 2.0;  // title 1, chapter 2
inline constexpr double kTitle2Seconds = 2.0;
inline constexpr double kTitle3Seconds = 2.0;
inline constexpr int kEnglishAc3Id = 0x80;  // titles 1 and 2
inline constexpr int kFrenchMpegId = 0xC0;
inline constexpr int kEnglishTone = 440;  // Hz
inline constexpr int kFrenchTone = 880;
inline constexpr int kWideTone = 660;  // title 3
inline constexpr int kChapter1Luma = 0x30;
inline constexpr int kChapter2Luma = 0xA0;
// The sub-picture box of title 1 (720x576 picture), shown from 0.5 s to 2.5 s.
inline constexpr int kBoxLeft = 260, kBoxTop = 440, kBoxWidth = 200, kBoxHeight = 80;

}  // namespace pelorine::dvdtest
