// Files written whole or not at all: the content goes to a temporary file beside the target,
// which replaces the target only once everything was written.
#pragma once

#include <QIODevice>
#include <QString>
#include <functional>
#include <stdexcept>
#include <string>

namespace bvr {

// Thrown by a writer that gives up because its device refused data, so that it does not go on
// producing what cannot be stored. detail says how far it got ("page 3 of 200").
class EWriteStopped : public std::runtime_error {
 public:
  explicit EWriteStopped(const std::string& detail)
      : std::runtime_error("Cannot write: the output refused data (" + detail + ")"),
        detail_(detail) {}
  const std::string& Detail() const { return detail_; }

 private:
  std::string detail_;
};

// The file a write to path lands on: path with its symbolic links followed, each only where the
// kernel's protected-symlinks rule would follow it: not a link in a world-writable sticky folder
// (such as /tmp) whose owner is neither this process's user nor the folder's owner, which is how
// another user would aim a link at a file of ours. Such a link, or more than 40 links, fails
// (EBvrError) with "Refusing to write "PATH": ...". A relative path is taken from the current
// folder; the result is absolute.
std::string ResolveOutputPath(const std::string& path);

// Calls write with a device on the temporary file, then replaces path with it. Any failure
// leaves no temporary file and an older file at path untouched. It is reported as EBvrError
// with the full path: "Cannot create file "%s". %s" when the file cannot be created,
// "Cannot write "%s": %s" with the system's reason ("No space left on device") when data is
// refused, also when write then throws (an EWriteStopped's detail follows in brackets); other
// exceptions of write pass through unchanged. The temporary file has no name where the
// filesystem allows (O_TMPFILE); elsewhere it is named beside the target and removed also when
// SIGINT, SIGTERM or SIGHUP ends the process (the signal then ends it as it would have).
// The folder is opened once, after its links were resolved, and the file is made and renamed
// relative to it: a folder replaced meanwhile (by a link elsewhere) cannot redirect the file.
// A target that exists and is not a regular file (device, FIFO, folder) is refused:
// "Refusing to write "%s": it is a FIFO, not a regular file".
void WriteFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write);

}  // namespace bvr
