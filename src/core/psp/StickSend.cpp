#include "psp/StickSend.h"

#include "conversion/EncoderCommandLine.h"
#include "conversion/JobNaming.h"
#include "conversion/PartFiles.h"
#include "platform/Text.h"

namespace pelorine::psp {

StickMedia mediaOf(const Job& job) {
    if (text::lower(job.outputFormat) == "mp3") {
        return StickMedia::Music;
    }
    return job.videoCodec == "h264" ? StickMedia::AvcVideo : StickMedia::Mpeg4Video;
}

std::string stickTitleOf(const Job& job) {
    return sourceTitle(job.isDvd != 0 ? job.outputPath : job.sourcePath);
}

std::vector<std::string> finishedOutputs(const Job& job, const platform::FileSystem& files) {
    const EncoderCommandLine line(job, EngineInvocation{});
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
    const std::vector<std::string> outputs = finishedOutputs(job, files);
    const std::string title = stickTitleOf(job);
    const bool parts = EncoderCommandLine(job, EngineInvocation{}).splitOutput();
    std::vector<SendItem> items;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        items.push_back({outputs[i], mediaOf(job),
                         parts ? title + " (part " + std::to_string(i + 1) + ")" : title});
    }
    return items;
}

CopyPlan planCopies(StickLayout& layout, const std::vector<SendItem>& items,
                    const platform::LargeFiles& files, std::vector<std::string>& problems) {
    CopyPlan plan;
    plan.stickRoot = layout.root();
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

}  // namespace pelorine::psp
