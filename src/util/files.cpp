#include "util/files.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace orvela {

namespace {

TFileReadFunction CurrentReadFunction = nullptr;

ssize_t ReadSome(int fd, void* buffer, std::size_t count) {
  return CurrentReadFunction != nullptr ? CurrentReadFunction(fd, buffer, count)
                                        : ::read(fd, buffer, count);
}

// Closes a descriptor when it goes.
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : FFd(fd) {}
  ~TFileDescriptor() {
    if (FFd >= 0) ::close(FFd);
  }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int Get() const { return FFd; }
  // Closes now and reports whether the close succeeded (a late write error shows here).
  bool Close() {
    const int fd = std::exchange(FFd, -1);
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int FFd;
};

// The system's words for the last error, as "Permission denied".
std::string SystemError(int error) {
  return std::error_code(error, std::generic_category()).message();
}

// Sets why (when there is one) and returns result.
template <typename T>
T Fail(T result, std::string* why, std::string reason) {
  if (why != nullptr) *why = std::move(reason);
  return result;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a path finally names, every link of a chain followed; nothing for a loop.
std::optional<std::filesystem::path> ResolveLinks(std::filesystem::path path) {
  namespace fs = std::filesystem;
  constexpr int MaxLinks = 40;  // as the system's own limit
  for (int hops = 0; hops <= MaxLinks; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) return std::nullopt;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

constexpr std::size_t TemporarySuffixLength = 6;

std::string TemporaryPrefix(const std::filesystem::path& file) {
  return "." + file.filename().string() + ".";
}

// Temporary files of a save that never finished (a crash, a power cut).
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix) {
  namespace fs = std::filesystem;
  // A save lives for milliseconds: an older temporary is left by a crash, a newer one may
  // be another instance's save in progress, whose rename must not fail.
  constexpr auto StaleAge = std::chrono::minutes(10);
  const fs::file_time_type now = fs::file_time_type::clock::now();
  std::error_code ec;
  std::vector<fs::path> stale;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() == prefix.size() + TemporarySuffixLength && name.starts_with(prefix) &&
        it->is_regular_file(ec) && !it->is_symlink(ec)) {
      const fs::file_time_type written = it->last_write_time(ec);
      if (!ec && now - written > StaleAge) stale.push_back(it->path());
    }
  }
  for (const fs::path& p : stale) fs::remove(p, ec);
}

// Creates a new temporary file beside the target, with mode (less the umask).
int CreateTemporary(const std::filesystem::path& folder, const std::string& prefix, mode_t mode,
                    std::string& name) {
  static constexpr std::string_view Letters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix;
    for (std::size_t i = 0; i < TemporarySuffixLength; ++i) suffix += Letters[pick(random)];
    name = (folder / (prefix + suffix)).string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void FlushFolder(const std::filesystem::path& folder) {
  // A rename is durable only once the folder is; some file systems cannot, which is no error.
  TFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) ::fsync(fd.Get());
}

}  // namespace

void AdviseHugePages(const void* buffer, std::size_t bytes) {
  constexpr std::uintptr_t HugePage = std::uintptr_t{2} << 20;
  if (bytes < 4 * HugePage) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(buffer);
  const std::uintptr_t first = (begin + HugePage - 1) & ~(HugePage - 1);
  const std::uintptr_t last = (begin + bytes) & ~(HugePage - 1);
#ifdef MADV_HUGEPAGE
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)first;
  (void)last;
#endif
}

TFileReadResult ReadFileText(const std::string& path, std::string& content, std::size_t maxBytes,
                             std::string* why) {
  using R = TFileReadResult;
  content.clear();
  // Non-blocking, so that a FIFO at the path cannot hang the open; it is refused below.
  TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return Fail(R::Missing, why, "there is no such file");
    return Fail(R::Failed, why, "it could not be opened: " + SystemError(error));
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) {
    return Fail(R::Failed, why, "it could not be read: " + SystemError(errno));
  }
  if (!S_ISREG(info.st_mode)) return Fail(R::NotAFile, why, "it is not a regular file");
  const auto expected = static_cast<std::size_t>(info.st_size);
  const auto tooLarge = [&] {
    content.clear();
    return Fail(R::TooLarge, why, "it is larger than " + std::to_string(maxBytes) + " bytes");
  };
  if (expected > maxBytes) return tooLarge();
  const int flags = ::fcntl(fd.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return Fail(R::Failed, why, "it could not be read: " + SystemError(errno));
  }
  content.reserve(expected + 1);
  AdviseHugePages(content.data(), content.capacity());
  content.resize(expected + 1);  // one more, to see the end of the file in the same loop
  std::size_t total = 0;
  while (true) {
    if (total == content.size()) {
      // The file grew while it was read.
      if (total > maxBytes) return tooLarge();
      content.resize(content.size() * 2);
    }
    const ssize_t n = ReadSome(fd.Get(), content.data() + total, content.size() - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      content.clear();
      return Fail(R::Failed, why, "it could not be read: " + SystemError(error));
    }
    if (n == 0) break;
    total += static_cast<std::size_t>(n);
  }
  if (total > maxBytes) return tooLarge();
  content.resize(total);
  // Less than the file's size means the read stopped early: the text is not the file.
  if (total < expected) {
    content.clear();
    return Fail(R::Failed, why, "it could not be read in full");
  }
  return R::Ok;
}

bool ReplaceFileText(const std::string& path, std::string_view text, std::string* why) {
  namespace fs = std::filesystem;
  // Replace the file at the end of a chain of links, not a link.
  const std::optional<fs::path> resolved = ResolveLinks(fs::path(path));
  if (!resolved) return Fail(false, why, "its links go round in a loop");
  const fs::path& target = *resolved;

  mode_t mode = 0666;  // a new file: the umask applies at creation
  bool keepMode = false;
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) {
    // Only a regular file the user may write is replaced: a read-only file stays as it is,
    // also for root, who could write it anyway.
    if (!S_ISREG(info.st_mode)) return Fail(false, why, "it is not a regular file");
    if ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
      return Fail(false, why, "the file is read-only");
    }
    mode = info.st_mode & 07777;
    keepMode = true;
  } else if (errno == ENOTDIR) {
    return Fail(false, why, "its folder does not exist");
  } else if (errno != ENOENT) {
    return Fail(false, why, SystemError(errno));
  }

  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  const std::string prefix = TemporaryPrefix(target);
  RemoveStaleTemporaries(folder, prefix);

  std::string temporary;
  TFileDescriptor fd(CreateTemporary(folder, prefix, keepMode ? 0600 : mode, temporary));
  if (fd.Get() < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return Fail(false, why, "its folder does not exist");
    return Fail(false, why, "no file can be made in its folder: " + SystemError(error));
  }
  int error = 0;
  const auto failed = [&error] {
    error = errno;
    return false;
  };
  bool ok = true;
  if (keepMode && ::fchmod(fd.Get(), mode) != 0) ok = failed();
  if (ok && !WriteAll(fd.Get(), text)) ok = failed();
  if (ok && ::fsync(fd.Get()) != 0) ok = failed();
  if (!fd.Close() && ok) ok = failed();
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) ok = failed();
  if (!ok) {
    ::unlink(temporary.c_str());
    return Fail(false, why, "it could not be written: " + SystemError(error));
  }
  FlushFolder(folder);
  return true;
}

void SetFileReadFunction(TFileReadFunction read) { CurrentReadFunction = read; }

}  // namespace orvela
