// The sets of Shape, Line, Timer and the scroll bars: the timer's keys and
// copy, the line's end points in its container's units, and the scroll bars'
// reversed ranges and class.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"
#include "support/raises.h"

namespace {

using namespace tavorin::host;
using namespace tavorin::testing;

const Settings kEverything{.setContainer = true, .setTabIndex = true};

std::vector<std::string> KeysOf(const ByteArray& stream) {
  PropertyBag bag;
  bag.SetContents(stream);
  return bag.Names();
}

class ClassSets : public ::testing::Test {
 protected:
  ClassSets() {
    pixels->SetProperty("ScaleMode", 3);
    characters->SetProperty("ScaleMode", 4);
  }

  std::shared_ptr<Control> Add(const std::string& className, const std::string& name,
                               ObjectRef container) {
    return form->AddControl(className, name, std::nullopt, std::move(container));
  }

  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> pixels = form->AddControl("PictureBox", "Pixels");
  // Characters are 120 twips across and 240 down: an end point converted
  // along the wrong axis shows.
  std::shared_ptr<Control> characters = form->AddControl("PictureBox", "Characters");
};

// A timer sits on no container it could restore, yet names the form's.
TEST_F(ClassSets, ATimerStreamHoldsItsEnvelopeAndContainerOnly) {
  auto timer = Add("Timer", "Timer1", nullptr);
  EXPECT_EQ(KeysOf(Write(kEverything, *timer)), (std::vector<std::string>{"@SF#", "@CN#", "CnN"}));
}

// Reading or copying a line onto one in another container: the end points
// as they come out, given the units they are taken to be measured in.
TEST_F(ClassSets, LineEndPointsAreConvertedIntoTheDestinationsUnits) {
  enum class Operation { Copy, Read };
  const Settings kConverting{}, kPlain{.sizeAccommodation = false};
  const struct {
    const char* what;
    Operation operation;
    Settings writer, reader;
    Variant storedUnits;  // replaces "CnS" in the stream unless Empty
    std::shared_ptr<Control> expectedContainer;
    std::int16_t measuredIn;  // 4, the destination's own units: as they were
  } cases[] = {
      {"copied", Operation::Copy, {}, kConverting, {}, characters, 3},
      {"copied as numbers", Operation::Copy, {}, kPlain, {}, characters, 4},
      {"copied into the source's container first",
       Operation::Copy,
       {},
       Settings{.setContainer = true},
       {},
       pixels,
       3},
      {"read", Operation::Read, kConverting, kConverting, {}, characters, 3},
      {"read as numbers", Operation::Read, kConverting, kPlain, {}, characters, 4},
      {"read from a stream without units", Operation::Read, kPlain, kConverting, {}, characters, 1},
      {"read into the stored container first",
       Operation::Read,
       Settings{.setContainer = true},
       Settings{.setContainer = true},
       {},
       pixels,
       3},
      {"read with units that are no mode", Operation::Read, kConverting, kConverting,
       Variant::Integer(99), characters, 4},
      {"read with units that are no number", Operation::Read, kConverting, kConverting,
       Variant("pixels"), characters, 4},
  };
  const std::array<const char*, 4> kEndPoints = {"X1", "Y1", "X2", "Y2"};
  const std::array<float, 4> kPoints = {240, 480, 1200, 2400};
  int lines = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto source = Add("Line", "Line" + std::to_string(++lines), pixels);
    auto destination = Add("Line", "Line" + std::to_string(++lines), characters);
    for (std::size_t i = 0; i < kEndPoints.size(); ++i) {
      source->SetProperty(kEndPoints[i], kPoints[i]);
    }
    if (c.operation == Operation::Copy) {
      Copy(c.reader, *source, *destination);
    } else {
      auto stream = Write(c.writer, *source);
      if (!c.storedUnits.IsEmpty()) stream = WithStored(stream, "CnS", c.storedUnits);
      Read(c.reader, stream, *destination);
    }
    EXPECT_EQ(destination->Container(), ObjectRef(c.expectedContainer));
    const std::int16_t units = c.expectedContainer == pixels ? 3 : 4;
    for (std::size_t i = 0; i < kEndPoints.size(); ++i) {
      const bool across = kEndPoints[i][0] == 'X';
      const float expected = across ? ScaleX(kPoints[i], c.measuredIn, units)
                                    : ScaleY(kPoints[i], c.measuredIn, units);
      EXPECT_FLOAT_EQ(CSng(destination->GetProperty(kEndPoints[i])), expected) << kEndPoints[i];
    }
  }
}

// A line whose form is gone cannot tell its units; its stream must still
// read back the same whichever defaults it was written against, rather than
// take the custom defaults' pixels for them.
TEST_F(ClassSets, LineWhoseFormIsGoneReadsBackAsWritten) {
  const Variant pixelDefaults(Write({}, *Add("Line", "PixelLine", pixels)));
  auto gone = Form::Create("Gone");
  auto line = gone->AddControl("Line", "Orphan");
  line->SetProperty("X2", 1200.0f);
  line->SetProperty("Y2", 2400.0f);
  gone.reset();
  const ByteArray stream = Write({}, *line, pixelDefaults);
  Read({}, stream, *line, pixelDefaults);
  EXPECT_EQ(CSng(line->GetProperty("X2")), 1200.0f);
  EXPECT_EQ(CSng(line->GetProperty("Y2")), 2400.0f);
  EXPECT_EQ(Write({}, *line, pixelDefaults), stream);
}

TEST_F(ClassSets, CopiedTimerKeepsItsOwnContainer) {
  auto copied = Add("Timer", "Timer2", pixels);
  Copy(kEverything, *Add("Timer", "Timer1", nullptr), *copied);
  EXPECT_EQ(copied->Container(), ObjectRef(pixels));
}

TEST_F(ClassSets, ACopiedScrollBarKeepsAReversedRangeAndItsClass) {
  for (const char* className : {"HScrollBar", "VScrollBar"}) {
    SCOPED_TRACE(className);
    auto bar = Add(className, std::string(className) + "1", nullptr);
    bar->SetProperty("Min", std::int16_t{50});
    bar->SetProperty("Max", std::int16_t{10});
    bar->SetProperty("Value", std::int16_t{20});
    auto copied = Add(className, std::string(className) + "2", nullptr);
    Copy(Settings{}, *bar, *copied);
    EXPECT_EQ(copied->GetProperty("Min"), Variant::Integer(50));
    EXPECT_EQ(copied->GetProperty("Max"), Variant::Integer(10));
    EXPECT_EQ(copied->GetProperty("Value"), Variant::Integer(20));
  }
  auto vertical = Add("VScrollBar", "Vertical", nullptr);
  ObjectRef horizontal = Add("HScrollBar", "Horizontal", nullptr);
  tavorin::Tavorin component;
  EXPECT_RAISES(704, component.StreamToControl(component.ControlToStream(vertical), horizontal));
}

}  // namespace
