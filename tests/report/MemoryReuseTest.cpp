// The allocator setting must really reach glibc: a block of a few hundred KB, as the PDF
// writer's compression state is, comes from the heap and not from a fresh mapping.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "report/MemoryReuse.h"

namespace bvr {
namespace {

TEST(MemoryReuseTest, CompressionSizedBlocksComeFromTheHeap) {
#ifdef __GLIBC__
  KeepFreedMemoryForReuse();
  const std::size_t mappedBefore = mallinfo2().hblks;
  const std::unique_ptr<void, decltype(&std::free)> block(std::malloc(4 << 20), &std::free);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(mallinfo2().hblks, mappedBefore);
#else
  GTEST_SKIP() << "glibc only";
#endif
}

}  // namespace
}  // namespace bvr
