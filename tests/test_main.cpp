// Test entry: standard input is emptied first, so that an error report's wait
// for ENTER returns at once instead of waiting on the developer's terminal.
#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
  if (std::freopen("/dev/null", "r", stdin) == nullptr) return 2;
  testing::InitGoogleTest(&argc, argv);
  testing::GTEST_FLAG(death_test_style) = "threadsafe";
  return RUN_ALL_TESTS();
}
