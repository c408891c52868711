#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "plugin/OQAPI.h"

namespace lumisk {
namespace {

int dummy;

struct BindCase {
  const char* what;
  bool moduleFound;
  std::set<std::string> missing;
  bool supported;
  std::size_t lookups;
};

class BindingTest : public ::testing::TestWithParam<BindCase> {};

TEST_P(BindingTest, LooksUpEveryNameInOrder) {
  const auto& c = GetParam();
  std::vector<std::string> asked;
  OQAPI api;
  api.bind(c.moduleFound, [&](const char* name) -> void* {
    asked.push_back(name);
    return c.missing.contains(name) ? nullptr : &dummy;
  });
  EXPECT_EQ(api.supported(), c.supported) << c.what;
  EXPECT_EQ(api.api().supported, c.supported) << c.what;
  ASSERT_EQ(asked.size(), c.lookups) << c.what;
  for (std::size_t i = 0; i < asked.size(); ++i) EXPECT_EQ(asked[i], kHostFunctionNames[i]);
  EXPECT_EQ(api.api().setPadInit != nullptr, c.supported) << "nothing is callable unless all are bound";
}

INSTANTIATE_TEST_SUITE_P(Hosts, BindingTest,
                         ::testing::Values(BindCase{"full host", true, {}, true, 25},
                                           BindCase{"first missing, rest still asked", true, {"OQAGetPadCount"}, false, 25},
                                           BindCase{"last missing", true, {"OQAGetIcon"}, false, 25},
                                           BindCase{"no module", false, {}, false, 0}));

TEST(BindingTest, NamesStartWithTheHostPrefixAndEndWithTheIconFunction) {
  EXPECT_EQ(kHostFunctionNames.front(), "OQAGetPadCount");
  EXPECT_EQ(kHostFunctionNames[5], "OQAGetPadInit");
  EXPECT_EQ(kHostFunctionNames[8], "OQAChangePluginMenus");
  EXPECT_EQ(kHostFunctionNames[22], "OQAButtonInClipbord");
  EXPECT_EQ(kHostFunctionNames.back(), "OQAGetIcon");
}

}  // namespace
}  // namespace lumisk
