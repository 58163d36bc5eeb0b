#include "report/AtomicFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <deque>
#include <exception>
#include <random>
#include <vector>

#include "report/FileKind.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

// The named temporary file of the write under way, for the signal handler: its name in the
// held folder, in a fixed buffer, since the handler may only call async-signal-safe functions.
char gTempName[NAME_MAX + 1];
volatile std::sig_atomic_t gTempFolder = -1;
volatile std::sig_atomic_t gTempSet = 0;

extern "C" void RemoveTemporaryFileAndDie(int signal) {
  if (gTempSet != 0) {
    ::unlinkat(gTempFolder, gTempName, 0);
  }
  // SA_RESETHAND put the default action back: the signal, blocked until the handler returns,
  // then ends the process as it would have without us.
  ::raise(signal);
}

void InstallSignalCleanup() {
  static bool installed = false;
  if (installed) {
    return;
  }
  installed = true;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) {
      continue;  // ignored (nohup) or handled by the program: left as it is
    }
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryFileAndDie;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal, &action, nullptr);
  }
}

// Names the temporary file for the signal handler while it lives.
class SignalGuard {
 public:
  SignalGuard() = default;
  SignalGuard(const SignalGuard&) = delete;
  SignalGuard& operator=(const SignalGuard&) = delete;
  ~SignalGuard() { Clear(); }

  void Set(int folder, const std::string& name) {
    Clear();
    if (name.size() >= sizeof gTempName) {
      return;
    }
    InstallSignalCleanup();
    gTempFolder = folder;
    std::memcpy(gTempName, name.c_str(), name.size() + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    gTempSet = 1;
  }
  void Clear() {
    gTempSet = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
  }
};

std::string TemporaryName(const std::string& target) {
  static std::mt19937_64 random{std::random_device{}()};
  static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  // A name at its length limit leaves no room for the suffix: the temporary name is shorter.
  std::string name = target.substr(0, std::min<std::size_t>(target.size(), NAME_MAX - 9)) + ".";
  for (int i = 0; i < 8; ++i) {
    name += digits[random() % 36];
  }
  return name;
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
  throw EBvrError(Fmt("Refusing to write \"%s\": %s").s(path).s(why));
}

// Writes straight to the temporary file's descriptor and keeps the kernel's reason for a
// refused write. Qt's file buffer turns a short write (the last bytes before the disk is full
// or the size limit is reached) into "Unknown error".
class DescriptorSink final : public QIODevice {
 public:
  explicit DescriptorSink(int fd) : fd_(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
  bool isSequential() const override { return true; }

  bool Flush() {
    const bool ok = WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok;
  }
  bool Refused() const { return error_ != 0; }
  std::string Reason() const { return std::strerror(error_); }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    const auto n = static_cast<std::size_t>(size);
    if (Refused() || (buffer_.size() + n > kBufferSize && !Flush())) {
      return -1;
    }
    if (n >= kBufferSize) {
      return WriteAll(data, n) ? size : -1;
    }
    buffer_.insert(buffer_.end(), data, data + n);
    return size;
  }

 private:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  bool WriteAll(const char* data, std::size_t size) {
    while (size > 0 && !Refused()) {
      const ssize_t n = ::write(fd_, data, size);
      if (n > 0) {
        data += n;
        size -= static_cast<std::size_t>(n);
      } else if (n == 0) {
        error_ = EIO;
      } else if (errno != EINTR) {
        error_ = errno;
      }
    }
    return !Refused();
  }

  int fd_;
  int error_ = 0;
  std::vector<char> buffer_;
};

// The folder the target was resolved into, opened once: the file is made, named and renamed
// relative to it, so that the folder replaced by a link meanwhile cannot redirect the output.
class HeldFolder {
 public:
  explicit HeldFolder(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == 0 ? "/" : target.substr(0, slash);
    name_ = target.substr(slash + 1);
    fd_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    error_ = fd_ < 0 ? errno : 0;
  }
  ~HeldFolder() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  HeldFolder(const HeldFolder&) = delete;
  HeldFolder& operator=(const HeldFolder&) = delete;

  int Descriptor() const { return fd_; }
  int Error() const { return error_; }
  const std::string& Name() const { return name_; }

 private:
  int fd_ = -1;
  int error_ = 0;
  std::string name_;
};

// The temporary file beside the target: unnamed where the filesystem can, else named.
class TemporaryFile {
 public:
  TemporaryFile(const HeldFolder& folder, const struct stat* old)
      : folder_(folder.Descriptor()), target_(folder.Name()) {
    fd_ = ::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
      // No unnamed files here (FUSE, some network filesystems).
      fd_ = OpenNamed();
    }
    if (fd_ < 0) {
      error_ = errno;
      return;
    }
    if (old != nullptr) {
      ::fchmod(fd_, old->st_mode & 07777);  // a replaced file keeps its permissions
    } else if (!name_.empty()) {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      ::fchmod(fd_, 0666 & ~mask);
    }
  }
  ~TemporaryFile() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
    if (!name_.empty()) {
      ::unlinkat(folder_, name_.c_str(), 0);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Descriptor() const { return fd_; }
  int Error() const { return error_; }

  // Puts the file in the target's place; false with errno set when that fails.
  bool Commit() {
    if (::fsync(fd_) != 0) {
      return false;
    }
    if (name_.empty() && !LinkUnnamed()) {
      return false;
    }
    if (::renameat(folder_, name_.c_str(), folder_, target_.c_str()) != 0) {
      return false;
    }
    guard_.Clear();
    name_.clear();
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int OpenNamed() {
    for (int attempt = 0; attempt < 100; ++attempt) {
      name_ = TemporaryName(target_);
      guard_.Set(folder_, name_);
      const int fd =
          ::openat(folder_, name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (fd >= 0 || errno != EEXIST) {
        if (fd < 0) {
          guard_.Clear();
          name_.clear();
        }
        return fd;
      }
    }
    guard_.Clear();
    name_.clear();
    return -1;
  }

  // Gives the unnamed file a temporary name, which the rename then replaces the target with:
  // a link cannot replace an existing file.
  bool LinkUnnamed() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
      name_ = TemporaryName(target_);
      guard_.Set(folder_, name_);
      int done = ::linkat(AT_FDCWD, self.c_str(), folder_, name_.c_str(), AT_SYMLINK_FOLLOW);
      if (done != 0 && errno == ENOENT) {
        done = ::linkat(fd_, "", folder_, name_.c_str(), AT_EMPTY_PATH);  // no /proc
      }
      if (done == 0) {
        return true;
      }
      if (errno != EEXIST) {
        const int error = errno;
        guard_.Clear();
        name_.clear();
        errno = error;
        return false;
      }
    }
    guard_.Clear();
    name_.clear();
    errno = EEXIST;
    return false;
  }

  int folder_;
  std::string target_;  // the name in folder_
  std::string name_;    // set while the file has a name that is not the target's
  int fd_ = -1;
  int error_ = 0;
  SignalGuard guard_;
};

}  // namespace

std::string ResolveOutputPath(const std::string& path) {
  std::string resolved;
  if (path.empty() || path[0] != '/') {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) {
      Refuse(path, std::string("the current folder: ") + std::strerror(errno));
    }
    resolved = cwd;
  }
  std::deque<std::string> pending;
  const auto push = [&pending](const std::string& text) {
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= text.size();) {
      const std::size_t end = std::min(text.find('/', start), text.size());
      if (end > start) {
        parts.push_back(text.substr(start, end - start));
      }
      start = end + 1;
    }
    pending.insert(pending.begin(), parts.begin(), parts.end());
  };
  push(path);
  int links = 0;
  while (!pending.empty()) {
    const std::string part = pending.front();
    pending.pop_front();
    if (part == ".") {
      continue;
    }
    if (part == "..") {
      resolved.erase(resolved.rfind('/') == std::string::npos ? 0 : resolved.rfind('/'));
      continue;
    }
    const std::string next = resolved + "/" + part;
    struct stat link {};
    if (::lstat(next.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
      resolved = next;  // what is missing is created (or fails to open) later
      continue;
    }
    if (++links > 40) {
      Refuse(path, "more than 40 symbolic links");
    }
    struct stat folder {};
    const std::string folderPath = resolved.empty() ? "/" : resolved;
    if (::stat(folderPath.c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) != 0 &&
        (folder.st_mode & S_IWOTH) != 0 && link.st_uid != ::geteuid() &&
        link.st_uid != folder.st_uid) {
      Refuse(path, Fmt("\"%s\" is a symbolic link of another user (uid %d) in the shared "
                       "folder \"%s\"")
                       .s(next)
                       .d(static_cast<long long>(link.st_uid))
                       .s(folderPath)
                       .str());
    }
    std::vector<char> target(static_cast<std::size_t>(PATH_MAX) + 1);
    const ssize_t n = ::readlink(next.c_str(), target.data(), target.size() - 1);
    if (n < 0) {
      Refuse(path, Fmt("\"%s\": %s").s(next).s(std::strerror(errno)).str());
    }
    const std::string to(target.data(), static_cast<std::size_t>(n));
    if (!to.empty() && to[0] == '/') {
      resolved.clear();
    }
    push(to);
  }
  return resolved.empty() ? "/" : resolved;
}

void WriteFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write) {
  const std::string fullPath = QFileInfo(path).absoluteFilePath().toStdString();
  const std::string target = ResolveOutputPath(QFile::encodeName(path).toStdString());
  const auto refused = [&fullPath](const std::string& reason, const std::string& detail) {
    throw EBvrError(Fmt("Cannot write \"%s\": %s").s(fullPath).s(reason).str() +
                    (detail.empty() ? "" : " (" + detail + ")"));
  };
  const HeldFolder folder(target);
  if (folder.Descriptor() < 0) {
    throw EBvrError(
        Fmt("Cannot create file \"%s\". %s").s(fullPath).s(std::strerror(folder.Error())));
  }
  // Replacing a device, a FIFO or a folder would destroy it (as root, /dev/null).
  struct stat old {};
  const bool exists = ::fstatat(folder.Descriptor(), folder.Name().c_str(), &old, 0) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    Refuse(fullPath, NotARegularFile(old.st_mode));
  }
  TemporaryFile file(folder, exists ? &old : nullptr);
  if (file.Descriptor() < 0) {
    throw EBvrError(
        Fmt("Cannot create file \"%s\". %s").s(fullPath).s(std::strerror(file.Error())));
  }
  DescriptorSink sink(file.Descriptor());
  try {
    write(sink);
  } catch (const EWriteStopped& e) {
    if (!sink.Refused()) {
      throw;
    }
    refused(sink.Reason(), e.Detail());
  } catch (...) {
    // Whatever the writer made of a refused write ("PNG encoding failed"), the cause is ours.
    if (!sink.Refused()) {
      throw;  // the temporary file goes with file
    }
    refused(sink.Reason(), {});
  }
  if (!sink.Flush()) {
    refused(sink.Reason(), {});
  }
  if (!file.Commit()) {
    refused(std::strerror(errno), {});
  }
}

}  // namespace bvr
