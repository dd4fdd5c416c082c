#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace orvela {

// Whole-file reading and atomic replacement, shared by the settings file and setup files.

enum class TFileReadResult {
  Ok,
  Missing,   // there is no file at the path
  NotAFile,  // a folder, a FIFO or a device: never opened for reading
  TooLarge,  // larger than the caller's cap; not read
  Failed,    // could not be read in full
};

// Asks for huge pages under a buffer about to be filled. The first touch of fresh memory is
// most of what reading a big file costs (a fault per 4 KiB page, very slow under some
// virtual machines); with huge pages it is one per 2 MiB. Where the system offers none this
// does nothing.
void AdviseHugePages(const void* buffer, std::size_t bytes);

// Reads the file at path (following symbolic links) into content, which holds the file only
// on Ok and is empty otherwise. A file larger than maxBytes is refused before it is read, and
// one that grows past it while being read too. On anything but Ok, why (when given) gets the
// reason in a few words, e.g. "there is no such file".
TFileReadResult ReadFileText(const std::string& path, std::string& content,
                             std::size_t maxBytes = std::numeric_limits<std::size_t>::max(),
                             std::string* why = nullptr);

// Replaces the file at path with text in one step: a temporary file in the same folder,
// written and flushed to disk, renamed over the file, then the folder flushed; a crash
// leaves the old file or the new one. A link, or a chain of links, is followed to the real
// file, which keeps its permissions; a new file gets 0666 less the umask. Refused (false,
// nothing changed, the reason in why when given): a missing folder, a path that is not a
// regular file, a file without write permission, any write error. Temporary files of an
// earlier crash beside the file are removed.
bool ReplaceFileText(const std::string& path, std::string_view text, std::string* why = nullptr);

// The function the readers read files with (::read unless replaced); nullptr restores it.
// Lets tests fail a read part way through a file.
using TFileReadFunction = ssize_t (*)(int fd, void* buffer, std::size_t count);
void SetFileReadFunction(TFileReadFunction read);

}  // namespace orvela
