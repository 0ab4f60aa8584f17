#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

using namespace tavorin::host;

TEST(Variant, KeepsItsType) {
  EXPECT_EQ(Variant().Type(), VarType::Empty);
  EXPECT_EQ(Variant(1).Type(), VarType::Long);
}
