#include "batch/PageLoop.h"

#include <string>

#include "report/AtomicFile.h"
#include "report/CanvasPdfWriter.h"
#include "report/PageWriter.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

template <typename Writer, typename Surface>
void WriteAll(Writer& writer, std::size_t total, const std::function<bool(Surface&)>& paint,
              const std::function<bool()>& more, const BatchProgress& progress) {
  const auto changed = [] {
    throw EBvrError(std::string("CSV: the file changed while it was printed"));
  };
  for (std::size_t i = 0; i < total; ++i) {
    Surface& surface = writer.BeginPage();
    if (i > 0 && writer.Refused()) {
      throw EWriteStopped(Fmt("stopped at page %d of %d")
                              .d(static_cast<long long>(i))
                              .d(static_cast<long long>(total)));
    }
    if (!paint(surface)) {
      changed();
    }
    if (progress) {
      progress(i + 1, total);
    }
  }
  if (more()) {
    changed();
  }
  writer.Finish();
}

}  // namespace

void WritePages(PageWriter& writer, std::size_t total, const std::function<bool(QPainter&)>& paint,
                const std::function<bool()>& more, const BatchProgress& progress) {
  WriteAll(writer, total, paint, more, progress);
}

void WritePages(CanvasPdfWriter& writer, std::size_t total,
                const std::function<bool(ICanvas&)>& paint, const std::function<bool()>& more,
                const BatchProgress& progress) {
  WriteAll(writer, total, paint, more, progress);
}

}  // namespace bvr
