// DataFormat: typed and late-bound access, and its persisted state.
#include <gtest/gtest.h>


#include <tavorin/tavorin.h>

#include "support/raises.h"

using namespace tavorin::host;

namespace {

TEST(DataFormat, StartsEmptyAndIsReachedByName) {
  auto format = std::make_shared<DataFormat>();
  EXPECT_EQ(format->TypeName(), "StdDataFormat");
  EXPECT_EQ(format->GetProperty("Format"), Variant::String(""));
  EXPECT_EQ(format->GetProperty("Type"), Variant::Integer(0));

  format->SetProperty("Format", "0.00");
  format->SetProperty("Type", "4");  // converted to Integer
  EXPECT_EQ(format->Format(), "0.00");
  EXPECT_EQ(format->GetProperty("Type"), Variant::Integer(4));
}

TEST(DataFormat, RefusesUnknownNamesAndValuesThatDoNotConvert) {
  auto format = std::make_shared<DataFormat>();
  EXPECT_RAISES(errors::kNoSuchMember, format->GetProperty("Color"));
  EXPECT_RAISES(errors::kNoSuchMember, format->SetProperty("format", "x"));
  EXPECT_RAISES(errors::kTypeMismatch, format->SetProperty("Type", "abc"));
  EXPECT_RAISES(errors::kOverflow, format->SetProperty("Type", 40000));
  EXPECT_EQ(format->Type(), 0);
}

TEST(DataFormat, StateLoadsBackAndBadStateIsRefused) {
  DataFormat format;
  format.Format("yyyy-mm-dd");
  format.Type(-32768);
  const auto loaded = std::dynamic_pointer_cast<DataFormat>(DataFormat::LoadState(format.SaveState()));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Format(), "yyyy-mm-dd");
  EXPECT_EQ(loaded->Type(), -32768);
  EXPECT_EQ(loaded->SaveState(), format.SaveState());

  ByteArray state = format.SaveState();
  for (std::size_t length = 0; length < state.size(); ++length) {
    const ByteArray cut(state.begin(), state.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_RAISES(errors::kInvalidFileFormat, DataFormat::LoadState(cut));
  }
  state.push_back(0);
  EXPECT_RAISES(errors::kInvalidFileFormat, DataFormat::LoadState(state));
}

}  // namespace
