#include "report/MemoryReuse.h"

#include <cstdlib>  // defines __GLIBC__ where it applies; nothing before it does

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace bvr {

void KeepFreedMemoryForReuse() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_TOP_PAD, 16 << 20);
#endif
}

}  // namespace bvr
