#include "report/FileKind.h"

#include <sys/stat.h>

namespace bvr {

namespace {

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) {
    return "a directory";
  }
  if (S_ISFIFO(mode)) {
    return "a FIFO";
  }
  if (S_ISCHR(mode)) {
    return "a character device";
  }
  if (S_ISBLK(mode)) {
    return "a block device";
  }
  if (S_ISSOCK(mode)) {
    return "a socket";
  }
  return nullptr;
}

}  // namespace

std::string NotARegularFile(mode_t mode) {
  const char* kind = KindOf(mode);
  return kind ? std::string("it is ") + kind + ", not a regular file" : "it is not a regular file";
}

}  // namespace bvr
