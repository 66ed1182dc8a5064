#pragma once
// The files encode mode writes, through the platform's interfaces: whole
// files renamed and removed (FileSystem), and files written piece by piece
// (LargeFiles). main() hands in the operating system's; tests may hand in
// their own.

namespace pelorine::platform {
class FileSystem;
class LargeFiles;
}  // namespace pelorine::platform

namespace zelvic {

struct Disk {
    pelorine::platform::FileSystem& files;
    pelorine::platform::LargeFiles& largeFiles;
};

}  // namespace zelvic
