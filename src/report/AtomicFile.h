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

// Calls write with a device on the temporary file, then replaces path with it. Any failure
// leaves no temporary file and an older file at path untouched. It is reported as EBvrError
// with the full path: "Cannot create file "%s". %s" when the file cannot be created,
// "Cannot write "%s": %s" with the system's reason ("No space left on device") when data is
// refused, also when write then throws (an EWriteStopped's detail follows in brackets); other
// exceptions of write pass through unchanged.
void WriteFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write);

}  // namespace bvr
