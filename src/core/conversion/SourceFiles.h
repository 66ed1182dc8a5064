#pragma once
// Which files become Jobs: the file dialog's filter of Add, and the video
// files of folders dropped on the job list.

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace pelorine {

// The filter of Add's file dialog, "name|patterns|...||"; its first entry,
// "Supported Files", names the video files.
inline constexpr const char* kAddFilter =
    "Supported Files|*.avi;*.mov;*.dv;*.mov;*.qt;*.mp4;*.yuv;*.rm;*.rmvb;*.wmv;*.asf;*.mpg;"
    "*.mpeg;*.dat;*.vob;*.flv|avi files(*.avi)|*.avi|dv video file(*.dv)|*.dv|quick time "
    "file(*.mov,*.qt)|*.mov;*.qt|mp4 files(*.mp4)|*.mp4|yuv files(*.yuv)|*.yuv|real media "
    "files(*.rm,*.rmvb)|*.rm;*.rmvb|windows media files(*.wmv,*.asf)|*.wmv;*.asf|mpeg "
    "files(*.mpg,*.mpeg)|*.mpg;*.mpeg|VCD file(*.dat)|*.dat|DVD file(*.vob)|*.vob|Flash "
    "Video(*.flv)|*.flv|Youtube video(*.flv)|*.flv|*.*|*.*||";

// Whether a file name has one of the "Supported Files" extensions, or is a
// Matroska, WebM, transport stream, M4V, 3GP or Ogg video, in any case.
bool isVideoFileName(const std::string& name);

// The sources of paths dropped on the list, in the order dropped: a file as
// it is (as Add takes any file it is given); a folder's video files, its
// sub-folders' too, sorted by path. Links to folders are not followed inside
// a folder, so no folder is walked twice.
std::vector<std::string> droppedSources(const std::vector<std::string>& paths,
                                        const platform::FileSystem& files);

}  // namespace pelorine
