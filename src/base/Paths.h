#pragma once
// Splitting the paths the converter composes at their last separator ("/").
// Pure text: nothing here looks at the disk.

#include <string>
#include <string_view>

namespace pelorine {

// The text before the last separator; empty when there is none, and for a
// path at the root ("/a" gives "").
std::string folderOf(std::string_view path);

// The text up to and with the last separator ("/a/b" gives "/a/", "/a" gives
// "/"); empty when there is none.
std::string folderWithSeparatorOf(std::string_view path);

// The text after the last separator; the whole path when it has none, and
// empty for a path that ends in one.
std::string fileNameOf(std::string_view path);

// The text after the last "." of the file name ("/a.b/c.mp4" gives "mp4");
// empty when the name has none. A name's leading dot counts (".avi" gives "avi").
std::string extensionOf(std::string_view path);

// The path without the last "." of its file name and what follows it
// ("/a.b/c.mp4" gives "/a.b/c"); the whole path when the name has no dot.
std::string withoutExtension(std::string_view path);

}  // namespace pelorine
