// The PDF writer allocates and frees its compression state (a few hundred KB) for every
// stream of every page. glibc's defaults map such blocks afresh and give freed memory back
// at once, so a batch spent a third of its time in page faults and zeroing. Keeping freed
// memory for reuse costs a few MB once, not per page. Call it first thing in main(), in any
// program that writes many pages.
#pragma once

namespace bvr {

void KeepFreedMemoryForReuse();

}  // namespace bvr
