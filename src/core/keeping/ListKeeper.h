#pragma once
// Keeps the list on disk while the program runs, so that a crash, a kill or
// a power cut loses nothing: the whole list as a project file and the state
// of the batch beside it (KeptList.h), in the state folder, written through
// the durable write at most a second after a change (a run of changes gives
// one write), off the window's thread, and at the end. A marker beside them
// exists while a program keeps the list, so the next start tells a clean end
// from an unclean one; a lock makes sure only one program keeps it.
//
// Everything but the writing happens on the window's thread; the writing
// goes to a KeepWriter, which runs it in order on a thread of its own.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "keeping/KeptList.h"
#include "keeping/RestorePlan.h"
#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"

namespace pelorine {

inline constexpr std::chrono::milliseconds kKeepDelay{1000};

// A single-shot timer on the window's thread.
class KeepTimer {
public:
    virtual ~KeepTimer() = default;
    // `due` runs once on the window's thread after `delay`, unless cancelled.
    virtual void start(std::chrono::milliseconds delay, std::function<void()> due) = 0;
    virtual void cancel() = 0;
};

// Where the writes run: one after another, away from the window's thread.
class KeepWriter {
public:
    virtual ~KeepWriter() = default;
    // Runs `work`, then `done` with its result on the window's thread.
    virtual void post(std::function<Status()> work, std::function<void(Status)> done) = 0;
    // Waits until everything posted has run (their `done` may be left out).
    virtual void drain() = 0;
};

// What the keeper asks and tells the user, modal to the window.
class KeepDialogs {
public:
    virtual ~KeepDialogs() = default;
    // The restore question with Restore (the default) and Discard; true for Restore.
    virtual bool askRestore(const std::string& question) = 0;
    virtual void tell(const std::string& text) = 0;
};

struct KeepingServices {
    platform::FileSystem& files;
    KeepTimer& timer;
    KeepWriter& writer;
    KeepDialogs& dialogs;
};

// Takes the lock `name` in `folder`, as acquireInstanceLock does.
using LockTaker = std::function<std::unique_ptr<platform::InstanceLock>(
    const std::string& folder, const std::string& name, std::string* error)>;

// Said once when another Pelorine already keeps the list.
inline constexpr const char* kListKeptElsewhere =
    "Another Pelorine keeps its list on disk already. The list of this window is not kept: "
    "save it as a project to keep it.";

class ListKeeper {
public:
    // The list as it is now, asked on the window's thread when a write is due.
    using Snapshot = std::function<KeptList()>;

    // `folder` is the state folder (with its trailing separator).
    ListKeeper(std::string folder, KeepingServices services, Snapshot snapshot,
               LockTaker takeLock = platform::acquireInstanceLock);
    ~ListKeeper();
    ListKeeper(const ListKeeper&) = delete;
    ListKeeper& operator=(const ListKeeper&) = delete;

    // At the start: takes the lock and looks at what the last run left.
    // After an unclean end the user is asked whether to restore it; after a
    // clean one it is restored without asking when `keepOnClose`. The list to
    // show, when one is restored. A damaged list file is moved aside and the
    // user told where it is; Jobs whose source is gone are left out and named.
    std::optional<KeptList> start(bool keepOnClose);

    // The list or the state of one of its Jobs changed.
    void changed();
    // At a clean end: the last write, then the marker goes. The write's result.
    Status finish();

    // Whether this program keeps the list (false when another one does).
    bool keeping() const { return keeping_; }
    std::string listPath() const { return folder_ + "list.vpt"; }
    std::string statePath() const { return folder_ + "list.state"; }
    std::string markerPath() const { return folder_ + "list.open"; }
    // Where a damaged list is moved: "list.vpt.damaged", or with ".2", ".3" …
    // when earlier damaged lists are still there, so none is written over.
    std::string damagedPath() const;

private:
    std::optional<KeptList> readKept();
    std::optional<KeptList> restore(KeptList kept, bool ask);
    void writeDue();
    Status write(const KeptList& list) const;
    void written(const Status& status);

    std::string folder_;
    KeepingServices s_;
    Snapshot snapshot_;
    LockTaker takeLock_;
    std::unique_ptr<platform::InstanceLock> lock_;
    bool keeping_ = false;
    bool due_ = false;       // a write is planned
    bool finished_ = false;  // finish() has run: nothing more is written
    bool toldFailure_ = false;
    // Gone with the keeper, so that a write's `done` coming later does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace pelorine
