#include "handheld/HandheldSend.h"

#include <algorithm>

#include "conversion/EncoderCommandLine.h"
#include "conversion/PartFiles.h"
#include "handheld/HandheldFinder.h"
#include "jobs/JobNaming.h"

namespace pelorine::handheld {

HandheldMedia mediaOf(const JobSettings& settings) {
    if (settings.mp3()) {
        return HandheldMedia::Music;
    }
    return settings.codec == VideoCodec::H264 ? HandheldMedia::AvcVideo : HandheldMedia::Mpeg4Video;
}

std::string handheldTitleOf(const JobSettings& settings) {
    return sourceTitle(settings.source.kind != SourceKind::File ? settings.output.path
                                                                : settings.source.path);
}

std::vector<std::string> finishedOutputs(const EncoderCommandLine& line,
                                         const platform::FileSystem& files) {
    if (!line.splitOutput()) {
        const std::string output = line.firstOutput();
        return files.exists(output) ? std::vector<std::string>{output} : std::vector<std::string>{};
    }
    std::vector<std::string> parts;
    for (int part = 1; files.exists(line.partFileName(part)); ++part) {
        parts.push_back(line.partFileName(part));
    }
    return parts;
}

std::vector<SendItem> sendItemsOf(const Job& job, const platform::FileSystem& files) {
    const EncoderCommandLine line(job, EngineInvocation{});
    const JobSettings& settings = line.settings();
    const std::vector<std::string> outputs = finishedOutputs(line, files);
    const std::string title = handheldTitleOf(settings);
    std::vector<SendItem> items;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        items.push_back(
            {outputs[i], mediaOf(settings),
             settings.splitOutput() ? title + " (part " + std::to_string(i + 1) + ")" : title});
    }
    return items;
}

CopyPlan planCopies(HandheldLayout& layout, const std::vector<SendItem>& items,
                    const platform::LargeFiles& files, std::vector<std::string>& problems) {
    CopyPlan plan;
    plan.handheldRoot = layout.root();
    for (const SendItem& item : items) {
        const auto place = layout.place(item.media, item.title);
        if (!place) {
            problems.push_back("\"" + item.output +
                               "\": the memory stick's video folder has no "
                               "free number left.");
            continue;
        }
        plan.steps.push_back({item.output, place->file});
        plan.bytes += files.fileSize(item.output).value_or(0);
        const std::string thumbnail = thumbnailPath(item.output);
        if (!place->thumbnail.empty() && files.fileSize(thumbnail)) {
            plan.steps.push_back({thumbnail, place->thumbnail});
            plan.bytes += *files.fileSize(thumbnail);
        }
    }
    return plan;
}

std::optional<std::string> handheldRoot(const HandheldAccess& access) {
    const auto sticks = findHandhelds(access.mounts, access.files, access.overrideFolder);
    if (sticks.empty()) {
        return std::nullopt;
    }
    return sticks.front().root;
}

SendResult sendJobs(const std::vector<Job>& jobs, const HandheldAccess& access, bool newerFirmware,
                    const CopyProgress& progress, const StopAsked& stop) {
    SendResult result;
    const auto root = handheldRoot(access);
    if (!root) {
        result.status = Status::error(kNoHandheldMessage);
        return result;
    }
    result.stick = *root;
    std::vector<SendItem> items;
    for (const Job& job : jobs) {
        for (SendItem& item : sendItemsOf(job, access.files)) {
            items.push_back(std::move(item));
        }
    }
    if (items.empty()) {
        result.status = Status::error(kNothingToSendMessage);
        return result;
    }
    HandheldLayout layout(*root, access.files, newerFirmware);
    std::vector<std::string> problems;
    const CopyPlan plan = planCopies(layout, items, access.largeFiles, problems);
    if (!problems.empty()) {
        result.status = Status::error(problems.front());
        return result;
    }
    if (Status ready = checkHandheld(plan, access.largeFiles); !ready) {
        result.status = ready;
        return result;
    }
    HandheldCopier copier(access.largeFiles, access.files);
    result.status = copier.copy(plan, progress, stop);
    result.stick = layout.root();
    const std::string stick = layout.root().ends_with('/') ? layout.root() : layout.root() + "/";
    result.files = copier.completed();
    for (std::size_t step = 0; step < copier.completed(); ++step) {
        const CopyStep& copied = plan.steps[step];
        const bool output = std::any_of(items.begin(), items.end(), [&](const auto& item) {
            return item.output == copied.from;
        });
        if (output) {
            result.sent.push_back(copied.to.substr(std::min(copied.to.size(), stick.size())));
        }
    }
    return result;
}

std::string sendReport(const SendResult& result) {
    std::string sent;
    for (const std::string& place : result.sent) {
        sent += "\n  " + place;
    }
    if (!result.status) {
        if (result.sent.empty()) {
            return result.status.message();
        }
        return result.status.message() +
               "\n\nCopied before the failure, and kept on the stick:" + sent;
    }
    return "Copied to the PSP memory stick at \"" + result.stick + "\":" + sent;
}

}  // namespace pelorine::handheld
