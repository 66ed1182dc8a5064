#include "dvd/OpenDvd.h"

#include "app/JobListOperations.h"

namespace pelorine {

std::string dvdRangeMediaText(const DvdChoice& choice) {
    return dvdMediaText(choice.title, choice.drive) + "-chapter " +
           std::to_string(choice.chapterFirst) + "-" + std::to_string(choice.chapterLast) + " ";
}

void OpenDvd::replaceJobOf(const std::string& sourcePath) {
    for (std::size_t i = 0; i < p_.jobs.count(); ++i) {
        if (p_.jobs.job(i).sourcePath == sourcePath) {
            p_.jobs.remove(i);
            return;
        }
    }
}

void OpenDvd::run(int profileBox) {
    const auto index = newJobsProfile(p_.settings, profileBox, p_.dialogs);
    if (!index) {
        return;
    }
    // The profile as it stands when Open DVD is chosen.
    const Profile profile = p_.profile(*index);
    const auto choice = p_.dialogs.runDvdDialog(p_.reader, p_.drives());
    if (!choice || choice->drive.empty()) {
        return;
    }
    // The length is that of exactly the title and chapters chosen; it is
    // read before the disc's old Job goes, so a failure loses nothing.
    const std::unique_ptr<MediaInfo> range = p_.reader.read(dvdRangeMediaText(*choice));
    if (!range) {
        const std::string reason = p_.reader.lastFailure();
        p_.dialogs.message(reason.empty() ? kDvdUnreadableMessage : reason);
        return;
    }
    replaceJobOf(dvdSourcePath(choice->drive));
    p_.jobs.append(
        p_.factory.makeDvdJob(*choice, profile, p_.settings.outputPath(), *range, p_.jobs));
}

}  // namespace pelorine
