#include "editing/JobEditor.h"

#include "app/SmallDialogText.h"
#include "base/TimeText.h"
#include "jobs/JobNaming.h"

namespace pelorine {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

// The rows whose typed values the engine could not use are refused where
// the user typed them, rather than failing the conversion later.
constexpr Row kTypedRows[] = {Row::VideoBitrate, Row::VideoSize, Row::Split, Row::AudioVolume};

}  // namespace

Job* JobEditor::gridJob() {
    return selected_ && *selected_ < p_.jobs.count() ? &p_.jobs.job(*selected_) : nullptr;
}

void JobEditor::showRows(const std::vector<PropertyItem*>& rows, EditResult& out) {
    shown_.clear();
    for (const PropertyItem* item : rows) {
        shown_.push_back(static_cast<Row>(item - p_.rows.items().data()));
    }
    out.grid = shownRows();
    out.resetGrid = true;
}

ShownRows JobEditor::shownRows() const {
    ShownRows rows;
    for (const Row role : shown_) {
        rows.push_back({role, p_.rows.at(role)});
    }
    return rows;
}

EditResult JobEditor::load(std::size_t row) {
    if (row >= p_.jobs.count()) {
        return {};
    }
    EditResult out;
    if (selected_ != row) {
        out.quitPreview = true;
        selected_ = row;
    }
    const Job& job = p_.jobs.job(row);
    out.clip = PreviewClip{job.clipStart, job.clipEnd, job.clipEnabled != 0};
    out.clipDuration = job.duration;
    out.profileBox = profileShown_ = job.profileIndex;
    if (const auto shown = showJob(job, p_.rows, p_.custom)) {
        showRows(*shown, out);
    }
    return out;
}

EditResult JobEditor::showNoJob(int profile) {
    selected_.reset();
    EditResult out;
    out.selectNoRow = true;
    out.clip = PreviewClip{};
    out.clipDuration = 0.0;
    profileShown_ = profile;
    if (const auto shown = showProfile(profile, p_.rows, nullptr, p_.custom)) {
        showRows(*shown, out);
    }
    return out;
}

EditResult JobEditor::edit(const JobChange& change) {
    EditResult out;
    std::visit(Overloaded{
                   [&](const change::RowText& typed) { rowText(typed, out); },
                   [&](const change::ClipTimes& typed) {
                       p_.rows.set(Row::StartTime, typed.start);
                       p_.rows.set(Row::EndTime, typed.end);
                       clipTimes(out);
                   },
                   [&](const change::SliderRange& range) { sliderRange(range, out); },
                   [&](const change::ClipVideo& clip) {
                       rowText({Row::ClipVideo, clip.enabled ? "yes" : "no"}, out);
                   },
                   [&](const change::OutputFormat& format) {
                       rowText({Row::OutputFormat, format.format}, out);
                   },
                   [&](const change::ProfileChoice& choice) { profileChoice(choice.index, out); },
                   [&](const change::LoadedProfile& loaded) { loadedProfile(loaded, out); },
                   [&](const change::OutputName& named) { outputName(named, out); },
                   [&](const change::Tracks& chosen) { tracks(chosen, out); },
               },
               change);
    return out;
}

EditResult JobEditor::shownBefore(const JobChange& change) const {
    EditResult out;
    if (std::holds_alternative<change::ProfileChoice>(change) && profileShown_ >= 0) {
        out.profileBox = profileShown_;
    }
    const bool slider = std::holds_alternative<change::SliderRange>(change);
    if (slider && selected_ && *selected_ < p_.jobs.count()) {
        const Job& job = p_.jobs.job(*selected_);
        out.clip = PreviewClip{job.clipStart, job.clipEnd, job.clipEnabled != 0};
        out.clipDuration = job.duration;
    }
    out.grid = shownRows();
    return out;
}

void JobEditor::jobRemoved(std::size_t row) {
    if (!selected_ || *selected_ < row) {
        return;
    }
    if (*selected_ == row) {
        selected_.reset();
    } else {
        --*selected_;
    }
}

void JobEditor::rowText(const change::RowText& typed, EditResult& out) {
    // The row takes the text first: the checks below read every row.
    p_.rows.set(typed.role, typed.text);
    switch (p_.rows.at(typed.role).kind) {
        case EditorKind::Edit:
            if (typed.role == Row::StartTime || typed.role == Row::EndTime) {
                clipTimes(out);
            }
            return;
        case EditorKind::Combo:
            if (Job* job = gridJob(); job && typed.role == Row::OutputFormat) {
                job->outputFormat = typed.text;
                changed(out);
            }
            if (typed.role == Row::ClipVideo && typed.text == "no") {
                clipVideoOff(out);
            }
            settingsChanged(out);
            return;
        case EditorKind::Colour:
        case EditorKind::Font:
        case EditorKind::File:
            return;  // the value only
    }
}

void JobEditor::clipTimes(EditResult& out) {
    Job* job = gridJob();
    if (!job) {
        return;
    }
    const std::string start = p_.rows.value(Row::StartTime);
    const std::string end = p_.rows.value(Row::EndTime);
    std::pair<double, double> clip;
    if (Status typed = checkTypedClip(start, end, job->duration, clip); !typed) {
        out.refusal = typed.message();
        // The time rows show the Job's clip again.
        const bool clipped = job->clipEnabled != 0;
        p_.rows.set(Row::StartTime, clipped ? timeText(job->clipStart) : kZeroTime);
        p_.rows.set(Row::EndTime, timeText(clipped ? job->clipEnd : job->duration));
        refreshGrid(out);
        return;
    }
    job->clipEnabled = 1;
    job->clipStart = clip.first;
    job->clipEnd = clip.second;
    out.clip = PreviewClip{clip.first, clip.second, true};
    out.clipDuration = job->duration;
    // The clip the user typed is the clip converted, as with the slider.
    p_.rows.set(Row::ClipVideo, "yes");
    // The Job keeps the times as typed, so a saved or kept list shows the
    // clip it converts when it is opened again.
    job->startText = start;
    job->endText = end;
    refreshGrid(out);
    changed(out);
    out.clipTexts = {start, end};
}

void JobEditor::sliderRange(const change::SliderRange& range, EditResult& out) {
    Job* job = gridJob();
    if (!job) {
        return;
    }
    job->clipEnabled = 1;
    job->clipStart = range.start;
    job->clipEnd = range.end;
    job->startText = timeText(range.start);
    job->endText = timeText(range.end);
    changed(out);
    out.clipTexts = {job->startText, job->endText};
    p_.rows.set(Row::StartTime, job->startText);
    p_.rows.set(Row::EndTime, job->endText);
    if (p_.rows.value(Row::ClipVideo) == "no") {
        p_.rows.set(Row::ClipVideo, "yes");
    }
    refreshGrid(out);
    out.clip = PreviewClip{range.start, range.end, true};
    out.clipDuration = job->duration;
}

void JobEditor::clipVideoOff(EditResult& out) {
    Job* job = gridJob();
    if (!job) {
        return;
    }
    job->clipEnabled = 0;
    job->clipStart = 0.0;
    job->clipEnd = job->duration;
    // The row and the Job show the whole source.
    job->startText = kZeroTime;
    job->endText = timeText(job->duration);
    out.clip = PreviewClip{0.0, job->duration, false};
    out.clipDuration = job->duration;
    changed(out);
    out.clipTexts = {job->startText, job->endText};
    p_.rows.set(Row::StartTime, kZeroTime);
    p_.rows.set(Row::EndTime, timeText(job->duration));
    refreshGrid(out);
}

void JobEditor::settingsChanged(EditResult& out) {
    Job* job = gridJob();
    if (!job) {
        return;
    }
    for (const Row role : kTypedRows) {
        if (Status typed = checkTypedSetting(role, p_.rows.value(role)); !typed) {
            out.refusal = typed.message();
            showJob(*job, p_.rows, p_.custom);
            refreshGrid(out);
            return;
        }
    }
    copyRowsToJob(p_.rows, *job);
    changed(out);  // "Split" and "Clip video" change the files written
}

void JobEditor::profileChoice(int profile, EditResult& out) {
    profileShown_ = profile;
    Job* job = gridJob();
    if (job) {
        if (profile == job->profileIndex) {
            return;
        }
        job->profileIndex = profile;
    }
    const auto shown = showProfile(profile, p_.rows, job, p_.custom);
    if (!shown) {
        return;
    }
    showRows(*shown, out);
    out.clip = PreviewClip{0.0, job ? job->duration : 0.0, false};
    if (!job) {
        return;
    }
    out.clipDuration = job->duration;
    applyProfileToJob(*job, profile, p_.rows, p_.custom);
    changed(out);
    out.clipTexts = {job->startText, job->endText};
}

void JobEditor::loadedProfile(const change::LoadedProfile& loaded, EditResult& out) {
    p_.rows.items() = loaded.rows;
    p_.custom.rows.items() = loaded.rows;
    p_.custom.format = p_.rows.value(Row::OutputFormat);
    if (Job* job = gridJob()) {
        applyLoadedProfileToJob(p_.rows, *job);
        changed(out);
    }
    out.customProfile = true;
    profileShown_ = kProfileCustom;
    if (const auto shown = showLoadedProfile(p_.rows)) {
        showRows(*shown, out);
    } else {
        refreshGrid(out);
    }
}

void JobEditor::outputName(const change::OutputName& named, EditResult& out) {
    if (named.row >= p_.jobs.count()) {
        return;
    }
    Job& job = p_.jobs.job(named.row);
    job.outputPath = outputPathWithName(job.outputPath, named.name, job.outputFormat);
    out.listRow = named.row;
}

void JobEditor::tracks(const change::Tracks& chosen, EditResult& out) {
    if (chosen.row >= p_.jobs.count()) {
        return;
    }
    Job& job = p_.jobs.job(chosen.row);
    if (!choosesFileTracks(job)) {
        out.refusal = kDvdTracksMessage;
        return;
    }
    setTrackChoice(job, chosen.choice);
    out.listRow = chosen.row;
}

}  // namespace pelorine
