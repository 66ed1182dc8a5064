#include "app/FilesController.h"

#include <string_view>

#include "project/ProjectFile.h"

namespace pelorine {
namespace {

// The message of a failure: the words the user knows, then what went wrong.
std::string failureText(const char* words, const Status& detail) {
    return detail.message().empty() ? words : std::string(words) + "\n\n" + detail.message();
}

// True when the file was read whole; otherwise the user is told why not.
bool readWhole(const OpenedDocument& opened, Dialogs& dialogs) {
    switch (opened.result) {
        case OpenedDocument::Result::CannotRead:
            dialogs.message(failureText(kSaveFailedMessage, opened.detail));
            return false;
        case OpenedDocument::Result::Damaged:
            dialogs.message(failureText(kCommandFailedMessage, opened.detail));
            return false;
        case OpenedDocument::Result::Opened:
            break;
    }
    return true;
}

// Asks for a file and saves into it, saying how it went.
template <typename Save>
void saveChosenFile(Dialogs& dialogs, const char* filter, const char* extension, Save save) {
    const auto path = dialogs.chooseSaveFile(filter, extension);
    if (!path) {
        return;
    }
    if (const Status saved = save(*path); !saved) {
        dialogs.message(failureText(kSaveFailedMessage, saved));
        return;
    }
    dialogs.message(kProjectSavedMessage);
}

}  // namespace

void FilesController::openProject(int profile) {
    if (p_.activity.refusedWhileConverting()) {
        return;
    }
    if (const auto path = p_.dialogs.chooseOpenFile(kOpenProjectFilter, kProjectExtension)) {
        openProjectFile(*path, profile);
    }
}

void FilesController::openProjectFile(const std::string& path, int profile) {
    if (p_.activity.refusedWhileConverting()) {
        return;
    }
    OpenedProject opened = pelorine::openProject(path, p_.files);
    if (!readWhole(opened, p_.dialogs)) {
        return;
    }
    // Only now, with the whole file read, does the list change.
    p_.activity.stopPreview();
    p_.jobs.clear();
    p_.showNoJob(profile);
    for (Job& job : opened.jobs) {
        p_.jobs.append(std::make_unique<Job>(std::move(job)));
    }
}

void FilesController::saveProject() {
    saveChosenFile(p_.dialogs, kProjectFilter, kProjectExtension, [this](const std::string& path) {
        return pelorine::saveProject(path, p_.jobs, p_.files);
    });
}

// A saved profile is confirmed with the words of a saved project.
static_assert(std::string_view(kProfileSavedMessage) == kProjectSavedMessage);

void FilesController::saveProfileAs() {
    saveChosenFile(p_.dialogs, kProfileFilter, kProfileExtension, [this](const std::string& path) {
        return saveProfile(path, p_.rows.items(), p_.files);
    });
}

void FilesController::loadProfile() {
    const auto path = p_.dialogs.chooseOpenFile(kProfileFilter, kProfileExtension);
    if (path) {
        loadProfileFile(*path);
    }
}

void FilesController::loadProfileFile(const std::string& path) {
    const OpenedProfile opened = openProfile(path, p_.files);
    if (readWhole(opened, p_.dialogs)) {
        p_.profileLoaded(opened.rows);
    }
}

}  // namespace pelorine
