#pragma once
// How an engine run ended: the engine's process exit status. Shared by both
// programs, so that no caller compares against bare numbers.

namespace pelorine {

enum class ExitStatus : int {
    Done = 0,              // the run did what it was asked
    BadCommandLine = 1,    // one line on standard error, nothing written
    SourceUnreadable = 2,  // the source could not be opened: no info file, no output
    Failed = 3,            // failure while converting or playing: the partial output is deleted
    Quit = 4,              // ended by a quit in the control file: a shorter, valid output
};

constexpr int code(ExitStatus status) {
    return static_cast<int>(status);
}

// The status a process exit code stands for; Failed for any code the engine
// does not use (a crash, a signal reported as a code).
constexpr ExitStatus exitStatusFromCode(int code) {
    switch (code) {
        case 0:
            return ExitStatus::Done;
        case 1:
            return ExitStatus::BadCommandLine;
        case 2:
            return ExitStatus::SourceUnreadable;
        case 4:
            return ExitStatus::Quit;
        default:
            return ExitStatus::Failed;
    }
}

}  // namespace pelorine
