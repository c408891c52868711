#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "win32/ExportGuard.h"

namespace lumisk {
namespace {

struct GuardCase {
  const char* what;
  std::function<int32_t()> body;
  int32_t result;
  std::vector<std::string> reported;
};

class ExportGuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(ExportGuardTest, NothingEscapesAndTheUserIsTold) {
  const auto& c = GetParam();
  std::vector<std::string> reported;
  const int32_t result = guardedCall(-7, c.body, [&](const char* text) { reported.emplace_back(text); });
  EXPECT_EQ(result, c.result) << c.what;
  EXPECT_EQ(reported, c.reported) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ExportGuardTest,
    ::testing::Values(
        GuardCase{"normal return", [] { return 3; }, 3, {}},
        GuardCase{"message exception", []() -> int32_t { throw std::runtime_error("ファイル x は開けません"); }, -7,
                  {"ファイル x は開けません"}},
        GuardCase{"out of memory", []() -> int32_t { throw std::bad_alloc(); }, -7, {kOutOfMemoryText}},
        GuardCase{"foreign exception", []() -> int32_t { throw 42; }, -7, {kUnexpectedText}}));

}  // namespace
}  // namespace lumisk
