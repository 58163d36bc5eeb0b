// Preloaded into the tool to play a filesystem without unnamed temporary files (FUSE, some
// network filesystems): open with O_TMPFILE fails with EOPNOTSUPP, everything else goes
// straight to the kernel.
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>

namespace {

int OpenAt(int folder, const char* path, int flags, va_list args) {
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
    mode = static_cast<mode_t>(va_arg(args, int));
  }
  if ((flags & O_TMPFILE) == O_TMPFILE) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return static_cast<int>(::syscall(SYS_openat, folder, path, flags, mode));
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd = OpenAt(AT_FDCWD, path, flags, args);
  va_end(args);
  return fd;
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd = OpenAt(AT_FDCWD, path, flags, args);
  va_end(args);
  return fd;
}

int openat(int folder, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd = OpenAt(folder, path, flags, args);
  va_end(args);
  return fd;
}

int openat64(int folder, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd = OpenAt(folder, path, flags, args);
  va_end(args);
  return fd;
}

}  // extern "C"
