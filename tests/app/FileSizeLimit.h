// Makes writes beyond a few bytes fail for as long as it lives (for root as well), so that a
// test can see what a save does when the disk refuses data. The old limit comes back even when
// the test fails half-way.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

namespace bvr::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);  // a refused write fails instead of ending the process
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &old_), 0);
    rlimit small = old_;
    small.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    EXPECT_TRUE(active_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    if (active_) {
      setrlimit(RLIMIT_FSIZE, &old_);
    }
  }

 private:
  rlimit old_{};
  bool active_ = false;
};

}  // namespace bvr::test
