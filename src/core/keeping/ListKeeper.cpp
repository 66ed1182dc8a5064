#include "keeping/ListKeeper.h"

#include "project/DocumentFiles.h"
#include "project/ProjectFile.h"

namespace pelorine {
namespace {

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

ListKeeper::ListKeeper(std::string folder, KeepingServices services, Snapshot snapshot,
                       LockTaker takeLock)
    : folder_(std::move(folder)),
      s_(services),
      snapshot_(std::move(snapshot)),
      takeLock_(std::move(takeLock)) {}

ListKeeper::~ListKeeper() {
    s_.timer.cancel();
    s_.writer.drain();  // no write may outlive the paths it writes to
}

std::optional<KeptList> ListKeeper::start(bool keepOnClose) {
    (void)s_.files.createFolders(folder_);  // a failure shows at the first write
    std::string error;
    lock_ = takeLock_(folder_, "list", &error);
    if (!lock_ && error.empty()) {
        // Another program keeps the list; this one's is not kept, and the
        // user must know before trusting it to be.
        s_.dialogs.tell(kListKeptElsewhere);
        return std::nullopt;
    }
    keeping_ = true;
    const bool unclean = s_.files.exists(markerPath());
    (void)s_.files.writeFileDurably(markerPath(), bytesOf("open\n"));
    std::optional<KeptList> restored;
    if (unclean || keepOnClose) {
        if (auto kept = readKept()) {
            restored = restore(std::move(*kept), unclean);
        }
    }
    changed();  // the list on disk becomes this run's
    return restored;
}

// The list and state files as the last run left them; nothing when there is
// no list, or it is damaged (then moved aside, and the user told).
std::optional<KeptList> ListKeeper::readKept() {
    if (!s_.files.exists(listPath())) {
        return std::nullopt;
    }
    KeptList kept;
    const OpenedDocument opened = openDocument(
        listPath(), s_.files, "list",
        [&](std::span<const std::uint8_t> bytes) { return decodeProject(bytes, kept.jobs); });
    if (opened.result != OpenedDocument::Result::Opened) {
        const std::string aside = damagedPath();
        const Status moved = s_.files.renameFile(listPath(), aside);
        s_.dialogs.tell(
            opened.detail.message() + "\n\nThe list was not restored" +
            (moved ? ". The file was moved to \"" + aside + "\"." : ": " + moved.message()));
        return std::nullopt;
    }
    // Without a sound state every Job is waiting.
    if (const auto state = s_.files.readPrefix(statePath(), kLargestDocument)) {
        (void)decodeListState(
            std::string_view(reinterpret_cast<const char*>(state->data()), state->size()), kept);
    }
    return kept;
}

std::string ListKeeper::damagedPath() const {
    const std::string first = listPath() + ".damaged";
    std::string path = first;
    for (int n = 2; n <= 100 && s_.files.exists(path); ++n) {
        path = first + "." + std::to_string(n);
    }
    return path;
}

std::optional<KeptList> ListKeeper::restore(KeptList kept, bool ask) {
    RestorePlan plan = planRestore(std::move(kept), s_.files);
    const std::string dropped = droppedSourcesMessage(plan.droppedSources);
    if (plan.list.jobs.empty() || (ask && !s_.dialogs.askRestore(restoreQuestion(plan)))) {
        if (plan.list.jobs.empty() && !dropped.empty()) {
            s_.dialogs.tell(dropped);
        }
        return std::nullopt;
    }
    for (const std::string& unfinished : plan.unfinishedFiles) {
        (void)s_.files.removeFile(unfinished, 3);
    }
    if (!dropped.empty()) {
        s_.dialogs.tell(dropped);
    }
    return std::move(plan.list);
}

void ListKeeper::changed() {
    if (!keeping_ || finished_ || due_) {
        return;
    }
    due_ = true;
    s_.timer.start(kKeepDelay, [this] { writeDue(); });
}

void ListKeeper::writeDue() {
    due_ = false;
    auto list = std::make_shared<const KeptList>(snapshot_());
    std::weak_ptr<bool> alive = alive_;
    s_.writer.post([this, list] { return write(*list); },
                   [this, alive](const Status& status) {
                       if (alive.lock()) {
                           written(status);
                       }
                   });
}

// On the writer's thread: touches nothing but the files.
Status ListKeeper::write(const KeptList& list) const {
    std::vector<const Job*> jobs;
    jobs.reserve(list.jobs.size());
    for (const Job& job : list.jobs) {
        jobs.push_back(&job);
    }
    std::vector<std::uint8_t> bytes;
    Status status = encodeProject(jobs, bytes);
    if (status) {
        status = s_.files.writeFileDurably(listPath(), bytes);
    }
    if (status) {
        status = s_.files.writeFileDurably(statePath(), bytesOf(encodeListState(list)));
    }
    return status;
}

void ListKeeper::written(const Status& status) {
    if (status) {
        toldFailure_ = false;
        return;
    }
    if (!toldFailure_ && !finished_) {
        toldFailure_ = true;
        s_.dialogs.tell("The list cannot be kept on disk. " + status.message() +
                        "\n\nIt stays in this window, and is written again at the next change.");
    }
}

Status ListKeeper::finish() {
    if (!keeping_ || finished_) {
        return Status::ok();
    }
    finished_ = true;
    s_.timer.cancel();
    due_ = false;
    s_.writer.drain();
    const Status status = write(snapshot_());
    if (status) {
        (void)s_.files.removeFile(markerPath(), 3);  // a clean end
    }
    return status;
}

}  // namespace pelorine
