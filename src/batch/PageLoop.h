// The page loop both batches run: pages begun one after the other on the one page writer,
// each painted from the next item of a source that is read as the pages go.
#pragma once

#include <cstddef>
#include <functional>

#include "batch/BatchPdf.h"

class QPainter;

namespace bvr {

class PageWriter;
class CanvasPdfWriter;
class ICanvas;

// Writes total pages onto writer and finishes it. paint draws page i's item on the painter,
// false when its source ran dry; more says whether the source still gives an item after the
// last page. Either fails with "CSV: the file changed while it was printed". Stops with
// EWriteStopped at the first page the device refused, without painting the rest.
void WritePages(PageWriter& writer, std::size_t total, const std::function<bool(QPainter&)>& paint,
                const std::function<bool()>& more, const BatchProgress& progress);
// The same onto pages drawn on a canvas.
void WritePages(CanvasPdfWriter& writer, std::size_t total,
                const std::function<bool(ICanvas&)>& paint, const std::function<bool()>& more,
                const BatchProgress& progress);

}  // namespace bvr
