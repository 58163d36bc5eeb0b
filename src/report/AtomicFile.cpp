#include "report/AtomicFile.h"

#include <unistd.h>

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <exception>
#include <vector>

#include "strings/BvrError.h"

namespace bvr {

namespace {

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

}  // namespace

void WriteFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write) {
  QSaveFile file(path);
  const std::string fullPath = QFileInfo(path).absoluteFilePath().toStdString();
  const auto fail = [&fullPath](const QString& reason) {
    throw EBvrError(Fmt("Cannot create file \"%s\". %s").s(fullPath).s(reason.toStdString()));
  };
  const auto refused = [&file, &fullPath](const std::string& reason, const std::string& detail) {
    file.cancelWriting();
    throw EBvrError(Fmt("Cannot write \"%s\": %s").s(fullPath).s(reason).str() +
                    (detail.empty() ? "" : " (" + detail + ")"));
  };
  if (!file.open(QIODevice::WriteOnly)) {
    fail(file.errorString());
  }
  DescriptorSink sink(file.handle());
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
      throw;  // an exception leaves with the file uncommitted: QSaveFile drops it
    }
    refused(sink.Reason(), {});
  }
  if (!sink.Flush()) {
    refused(sink.Reason(), {});
  }
  // Qt 6.4's commit() replaces the target even when the last flush failed, which would put a
  // truncated file in place of the old one: check first.
  if (!file.flush() || file.error() != QFileDevice::NoError) {
    refused(file.errorString().toStdString(), {});
  }
  if (!file.commit()) {
    refused(file.errorString().toStdString(), {});
  }
}

}  // namespace bvr
