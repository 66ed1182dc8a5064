#pragma once
// The two settings the whole program shares: what to do when an output file
// exists already, and the output folder; and, for the user's comfort, the
// folder Add last took files from. Every change is written to the settings
// file at once; there is no save at exit.

#include <atomic>
#include <string>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "settings/IniSection.h"

namespace pelorine {

enum OverwritePolicy : int {
    kOverwrite = 1,           // "Overwrite"
    kAskBeforeOverwrite = 2,  // "Not overwrite(remind me)"
    kSkipExisting = 3,        // "Not overwrite(ignore the selected file)"
};

class Settings {
public:
    static constexpr const char* kSection = "GENERAL";
    static constexpr const char* kPolicyKey = "OverWriteType";
    static constexpr const char* kOutputPathKey = "OutputPath";
    static constexpr const char* kAddFolderKey = "AddFolder";
    // The output folder keeps at most this many bytes.
    static constexpr std::size_t kMaxOutputPath = 511;

    // Defaults until read(): policy 1 and `defaultOutputFolder`. Without a
    // file (an empty `filePath`) the values live in memory only: the
    // command-line program's choices never change the window's settings.
    Settings(platform::FileSystem& files, std::string filePath, std::string defaultOutputFolder);

    // Reads the settings file, then writes it back at once: a first start
    // creates it with the defaults, and a policy read from text is stored again
    // as the number it was read as. A missing or unreadable file gives the
    // defaults. The write's result is returned for information only.
    Status load();

    Status read();
    Status write() const;

    int overwritePolicy() const { return policy_.load(); }
    const std::string& outputPath() const { return outputPath_; }

    // Each setter stores the value and writes the file.
    Status setOverwritePolicy(int policy);
    // Cut to kMaxOutputPath bytes (never inside a UTF-8 character).
    Status setOutputPath(std::string path);

    // Where Add's file dialog opens; empty until Add has taken a file.
    const std::string& addFolder() const { return addFolder_; }
    Status setAddFolder(std::string folder);

    const std::string& filePath() const { return file_.filePath(); }

private:
    IniSection file_;
    std::string defaultOutputFolder_;
    // Read by the conversion worker while the window may change it.
    std::atomic<int> policy_{kOverwrite};
    std::string outputPath_;
    std::string addFolder_;
};

// `text` cut to at most `maxBytes` bytes without splitting a UTF-8 character.
std::string cutUtf8(std::string text, std::size_t maxBytes);

}  // namespace pelorine
