// DataFormat: typed and late-bound access, and its persisted state.
#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/raises.h"

using namespace tavorin::host;

namespace {

TEST(DataFormat, StartsEmptyAndIsReachedByNameWithConversion) {
  auto format = std::make_shared<DataFormat>();
  EXPECT_EQ(format->TypeName(), "StdDataFormat");
  EXPECT_EQ(format->GetProperty("Format"), Variant::String(""));
  EXPECT_EQ(format->GetProperty("Type"), Variant::Integer(0));
  format->SetProperty("Format", "0.00");
  format->SetProperty("Type", "4");
  EXPECT_EQ(format->Format(), "0.00");
  EXPECT_EQ(format->GetProperty("Type"), Variant::Integer(4));
  EXPECT_RAISES(errors::kNoSuchMember, format->GetProperty("Color"));
  EXPECT_RAISES(errors::kNoSuchMember, format->SetProperty("format", "x"));
  EXPECT_RAISES(errors::kTypeMismatch, format->SetProperty("Type", "abc"));
  EXPECT_RAISES(errors::kOverflow, format->SetProperty("Type", 40000));
  EXPECT_EQ(format->Type(), 4);
}

TEST(DataFormat, StateLoadsBackAndEveryCutOrLongerStateIsRefused) {
  DataFormat format;
  format.Format("yyyy-mm-dd");
  format.Type(-32768);
  ByteArray state = format.SaveState();
  const auto loaded = std::dynamic_pointer_cast<DataFormat>(DataFormat::LoadState(state));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Format(), "yyyy-mm-dd");
  EXPECT_EQ(loaded->Type(), -32768);
  for (std::size_t length = 0; length < state.size(); ++length) {
    EXPECT_RAISES(errors::kInvalidFileFormat,
                  DataFormat::LoadState(ByteArray(state.begin(), state.begin() + length)));
  }
  state.push_back(0);
  EXPECT_RAISES(errors::kInvalidFileFormat, DataFormat::LoadState(state));
}

}  // namespace
