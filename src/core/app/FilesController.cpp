#include "app/FilesController.h"

#include "project/ProjectFile.h"

namespace pelorine {
namespace {

// The message of a failure: the words the user knows, then what went wrong.
std::string failureText(const char* words, const Status& detail) {
    return detail.message().empty() ? words : std::string(words) + "\n\n" + detail.message();
}

}  // namespace

void FilesController::openProject() {
    if (p_.activity.refusedWhileConverting()) {
        return;
    }
    if (const auto path = p_.dialogs.chooseOpenFile(kOpenProjectFilter, kProjectExtension)) {
        openProjectFile(*path);
    }
}

void FilesController::openProjectFile(const std::string& path) {
    if (p_.activity.refusedWhileConverting()) {
        return;
    }
    OpenedProject opened = pelorine::openProject(path, p_.files);
    switch (opened.result) {
        case OpenedProject::Result::CannotRead:
            p_.dialogs.message(failureText(kSaveFailedMessage, opened.detail));
            return;
        case OpenedProject::Result::Damaged:
            p_.dialogs.message(failureText(kCommandFailedMessage, opened.detail));
            return;
        case OpenedProject::Result::Opened:
            break;
    }
    // Only now, with the whole file read, does the list change.
    p_.activity.stopPreview();
    p_.jobs.clear();
    for (Job& job : opened.jobs) {
        p_.jobs.append(std::make_unique<Job>(std::move(job)));
    }
}

void FilesController::saveProject() {
    const auto path = p_.dialogs.chooseSaveFile(kProjectFilter, kProjectExtension);
    if (!path) {
        return;
    }
    if (const Status saved = pelorine::saveProject(*path, p_.jobs, p_.files); !saved) {
        p_.dialogs.message(failureText(kSaveFailedMessage, saved));
        return;
    }
    p_.dialogs.message(kProjectSavedMessage);
}

void FilesController::saveProfileAs() {
    const auto path = p_.dialogs.chooseSaveFile(kProfileFilter, kProfileExtension);
    if (!path) {
        return;
    }
    if (const Status saved = saveProfile(*path, p_.rows.items(), p_.files); !saved) {
        p_.dialogs.message(failureText(kSaveFailedMessage, saved));
        return;
    }
    p_.dialogs.message(kProfileSavedMessage);
}

void FilesController::loadProfile() {
    const auto path = p_.dialogs.chooseOpenFile(kProfileFilter, kProfileExtension);
    if (!path) {
        return;
    }
    const OpenedProfile opened = openProfile(*path, p_.files);
    switch (opened.result) {
        case OpenedProfile::Result::CannotRead:
            p_.dialogs.message(failureText(kSaveFailedMessage, opened.detail));
            return;
        case OpenedProfile::Result::Damaged:
            p_.dialogs.message(failureText(kCommandFailedMessage, opened.detail));
            return;
        case OpenedProfile::Result::Opened:
            break;
    }
    p_.profileLoaded(opened.rows);
}

}  // namespace pelorine
