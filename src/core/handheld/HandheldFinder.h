#pragma once
// Finding the handheld's memory stick: a mounted FAT or exFAT filesystem
// whose top folder holds "PSP" or "MP_ROOT" (in any case).
//
// The mount table is read, not the desktop's disk service: every way a
// stick gets mounted (the desktop's automounter, a card reader in fstab, a
// mount by hand) shows there, it needs no service running, and it is read in
// an instant. Only FAT-like filesystems are looked into, so that a hung
// network mount can never block the window.

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/MountTable.h"

namespace pelorine::handheld {

struct Handheld {
    std::string root;  // the mount point
    bool readOnly = false;
};

// Whether the folder `root` looks like a memory stick (holds PSP or MP_ROOT).
bool looksLikeHandheld(const std::string& root, const platform::FileSystem& files);

// The sticks mounted now, in mount order. `overrideFolder`, when not empty,
// stands for the only stick there is (tests, and setups the table does not
// tell): it is taken when it looks like a stick, and nothing else is.
std::vector<Handheld> findHandhelds(const platform::MountTable& mounts,
                                    const platform::FileSystem& files,
                                    const std::string& overrideFolder = {});

}  // namespace pelorine::handheld
