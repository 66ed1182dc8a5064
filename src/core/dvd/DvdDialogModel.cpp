#include "dvd/DvdDialogModel.h"

#include <algorithm>

#include "base/CommandLine.h"

namespace pelorine {
namespace {

// A DVD has at most 99 titles of at most 999 chapters; a damaged record
// must not make lists of millions of entries.
constexpr int kMaxChapters = 999;
constexpr const char* kUnreadableHint = "No DVD-Video disc could be read there.";

std::size_t slot(DvdList list) {
    return static_cast<std::size_t>(list);
}

std::vector<std::string> numbers(int count) {
    std::vector<std::string> entries;
    for (int i = 1; i <= count; ++i) {
        entries.push_back(std::to_string(i));
    }
    return entries;
}

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

}  // namespace

std::string dvdMediaText(int title, const std::string& drive) {
    return " dvd://" + std::to_string(title) + " -dvd-device " + quoteArgument(drive) + " ";
}

DvdDialogModel::DvdDialogModel(DvdDialogView& view, DiscReader& reader,
                               std::vector<std::string> drives)
    : view_(view), reader_(reader), drives_(std::move(drives)) {
    selected_.fill(-1);
}

void DvdDialogModel::initialise() {
    auto& channels = entries_[slot(DvdList::AudioChannel)];
    channels.assign(kAudioChannelEntries.begin(), kAudioChannelEntries.end());
    view_.setEntries(DvdList::AudioChannel, channels);
    showDrives(-1);
    // Without a drive the dialog still offers a folder or an image.
    if (drives_.empty()) {
        view_.showHint(kNoDriveHint);
    }
    if (drives_.size() == 1) {
        selected_[slot(DvdList::Drive)] = shownDrive_ = 0;
        view_.select(DvdList::Drive, 0);
        readDisc(dvdMediaText(1, drives_.front()), false);
    }
    takeSelections();
    selected_[slot(DvdList::AudioChannel)] = 0;
    putSelections();
}

void DvdDialogModel::showDrives(int selected) {
    std::vector<std::string>& entries = entries_[slot(DvdList::Drive)];
    entries = drives_;
    entries.push_back(kFolderEntry);
    entries.push_back(kImageEntry);
    view_.setEntries(DvdList::Drive, entries);
    view_.select(DvdList::Drive, selected);
}

std::optional<int> DvdDialogModel::chooseDisc(bool folder) {
    const auto chosen = folder ? view_.chooseFolder() : view_.chooseImage();
    if (!chosen || chosen->empty()) {
        return std::nullopt;
    }
    const std::string path = withoutTrailingSeparators(*chosen);
    auto found = std::find(drives_.begin(), drives_.end(), path);
    if (found == drives_.end()) {
        drives_.push_back(path);
        found = drives_.end() - 1;
    }
    const int index = static_cast<int>(found - drives_.begin());
    showDrives(index);
    view_.showHint({});
    return index;
}

void DvdDialogModel::driveChosen() {
    takeSelections();
    int index = selected_[slot(DvdList::Drive)];
    const int count = static_cast<int>(drives_.size());
    if (index == count || index == count + 1) {
        const auto chosen = chooseDisc(index == count);
        if (!chosen) {
            view_.select(DvdList::Drive, shownDrive_);
            return;
        }
        index = *chosen;
    }
    if (index < 0 || index >= static_cast<int>(drives_.size())) {
        return;
    }
    shownDrive_ = index;
    readDisc(dvdMediaText(1, drives_[static_cast<std::size_t>(index)]), false);
}

void DvdDialogModel::titleChosen() {
    takeSelections();
    const int drive = selected_[slot(DvdList::Drive)];
    const int title = selected_[slot(DvdList::Title)];
    if (drive < 0 || drive >= static_cast<int>(drives_.size()) || title < 0) {
        return;
    }
    readDisc(dvdMediaText(title + 1, drives_[static_cast<std::size_t>(drive)]), true);
}

void DvdDialogModel::readDisc(const std::string& mediaText, bool titleChange) {
    takeSelections();
    view_.setBusy(true);
    std::unique_ptr<MediaInfo> info = reader_.read(mediaText);
    view_.setBusy(false);
    if (!info || !(info->mediaLength() > 0.0)) {
        // The lists keep what they showed.
        const std::string reason = reader_.lastFailure();
        view_.showHint(reason.empty() ? kUnreadableHint : reason);
        return;
    }
    view_.showHint({});
    fillLists(*info, titleChange);
    info_ = std::move(info);
    putSelections();
}

void DvdDialogModel::fillLists(const MediaInfo& info, bool titleChange) {
    auto fill = [&](DvdList list, std::vector<std::string> entries, int selected) {
        entries_[slot(list)] = std::move(entries);
        view_.setEntries(list, entries_[slot(list)]);
        selected_[slot(list)] = selected;
    };
    if (!titleChange) {
        fill(DvdList::Title, numbers(std::clamp(info.titleCount(), 0, MediaInfo::kMaxTitles)), 0);
    }
    const int title = titleChange ? selected_[slot(DvdList::Title)] : 0;
    const int chapters = std::clamp(info.chapterCount(title), 0, kMaxChapters);
    fill(DvdList::ChapterFrom, numbers(chapters), 0);
    fill(DvdList::ChapterTo, numbers(chapters), chapters - 1);
    std::vector<std::string> subtitles;
    for (int i = 0; i < info.subtitleCount(); ++i) {
        subtitles.push_back(std::to_string(i) + ":" + info.subtitleName(i));
    }
    subtitles.push_back(kNoneEntry);
    fill(DvdList::Subtitle, std::move(subtitles), 0);
    std::vector<std::string> audio;
    for (int i = 0; i < info.audioCount(); ++i) {
        audio.push_back(std::to_string(i) + ":" + info.audioName(i) + "(" + info.audioNote(i) +
                        ")");
    }
    audio.push_back(kNoneEntry);
    fill(DvdList::AudioStream, std::move(audio), 0);
}

void DvdDialogModel::accept() {
    takeSelections();
    choice_ = {};
    // With no drive and nothing chosen there is nothing to convert.
    if (drives_.empty()) {
        view_.message(kNoDriveMessage);
        view_.close(true);
        return;
    }
    auto selected = [&](DvdList list) { return selected_[slot(list)]; };
    auto isLast = [&](DvdList list) {
        return selected(list) < 0 ||
               selected(list) + 1 >= static_cast<int>(entries_[slot(list)].size());
    };
    const int drive = selected(DvdList::Drive);
    if (!entries_[slot(DvdList::Title)].empty() && drive >= 0 &&
        drive < static_cast<int>(drives_.size())) {
        choice_.drive = drives_[static_cast<std::size_t>(drive)];
    }
    choice_.audioChannel = std::max(0, selected(DvdList::AudioChannel));
    choice_.audioId = isLast(DvdList::AudioStream) || !info_
                          ? -1
                          : info_->audioId(selected(DvdList::AudioStream));
    choice_.subtitleId = isLast(DvdList::Subtitle) ? -1 : selected(DvdList::Subtitle);
    choice_.chapterFirst = selected(DvdList::ChapterFrom) + 1;
    choice_.chapterLast = selected(DvdList::ChapterTo) + 1;
    // A range chosen backwards means the same chapters.
    if (choice_.chapterFirst > choice_.chapterLast) {
        std::swap(choice_.chapterFirst, choice_.chapterLast);
    }
    choice_.title = selected(DvdList::Title) + 1;
    view_.close(true);
}

void DvdDialogModel::cancel() {
    view_.close(false);
}

void DvdDialogModel::takeSelections() {
    for (int i = 0; i < kDvdListCount; ++i) {
        selected_[static_cast<std::size_t>(i)] = view_.selection(static_cast<DvdList>(i));
    }
}

void DvdDialogModel::putSelections() {
    for (int i = 0; i < kDvdListCount; ++i) {
        view_.select(static_cast<DvdList>(i), selected_[static_cast<std::size_t>(i)]);
    }
}

}  // namespace pelorine
