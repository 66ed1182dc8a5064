#pragma once
// The way from the batch to the handheld in the window: Send to PSP, the
// three settings of the PSP section, copying when a batch has finished, and
// the size estimate shown before converting.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Activity.h"
#include "app/MainView.h"
#include "conversion/BatchRun.h"
#include "conversion/SizeEstimate.h"
#include "handheld/HandheldCopy.h"
#include "handheld/HandheldSend.h"
#include "jobs/JobList.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"
#include "platform/MountTable.h"
#include "settings/HandheldSettings.h"

namespace pelorine {

inline constexpr const char* kSendCaption = "Send to PSP";

class HandheldController {
public:
    struct Services {
        HandheldSettings& settings;
        platform::FileSystem& files;
        platform::LargeFiles& largeFiles;
        const platform::MountTable& mounts;
        // A folder that stands for the only memory stick (tests); empty: the
        // mount table is asked.
        std::string handheldOverride;
    };

    HandheldController(Services services, const JobList& jobs, MainView& view, Dialogs& dialogs,
                       Activity& activity);

    // Send to PSP: the Job of list row `row`, or every converted Job when
    // no row is given or it is no Job, copied on a worker with a progress
    // dialog that can cancel; the window keeps painting meanwhile.
    void sendToHandheld(std::optional<std::size_t> row);

    // A new batch makes thumbnails as set, and copies what it has done
    // when "copy to the PSP when finished" is on.
    void setUpBatch(BatchRun& batch);

    // The three settings: each command turns its setting over.
    void toggle(int command);
    // Whether the setting behind a command is on; nothing for other commands.
    std::optional<bool> checked(int command) const;

    // One short line for the window: the estimated size of the selected
    // Job's output and of all outputs, and the free space of the output
    // folder and of the stick ("Size: job 2 12.0 MB, all 30.5 MB; free:
    // output folder 1.2 GB, PSP 20.0 MB (too small)"); `tooLarge` when the
    // outputs will not fit in either. Empty for an empty list.
    struct Estimate {
        std::string text;
        bool tooLarge = false;
    };
    Estimate estimate(std::optional<std::size_t> selected, const std::string& outputFolder) const;

    // Before a batch: true when its outputs fit in the output folder, or the
    // user chose to convert anyway after being told the sizes.
    bool roomForBatch(const std::string& outputFolder);

    // Copies the finished outputs of `jobs` to the stick found now. Any thread.
    using SendResult = handheld::SendResult;
    SendResult send(const std::vector<Job>& jobs, const handheld::CopyProgress& progress,
                    const handheld::StopAsked& stop) const;

private:
    std::optional<std::string> handheldRoot() const;
    handheld::HandheldAccess handheldAccess() const;
    std::string copyAfterBatch(BatchRun& batch) const;
    std::uint64_t estimatedTotal() const;

    Services services_;
    const JobList& jobs_;
    MainView& view_;
    Dialogs& dialogs_;
    Activity& activity_;
};

}  // namespace pelorine
