// Whole forms: saved and restored in one image, refused as a whole (form
// untouched) or restored in part with a report, and refused when damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include <tavorin/tavorin.h>

#include "support/raises.h"

namespace {

using namespace tavorin::host;
using tavorin::FormStateOptions;
using tavorin::RestoreFormState;
using tavorin::SaveFormState;

// An order form: a frame holding an array of two text boxes, a data control
// with a text box bound to it, and a label.
struct OrderForm {
  std::shared_ptr<Form> form = Form::Create("OrderForm");
  std::shared_ptr<Control> frame = form->AddControl("Frame", "Frame1");
  std::shared_ptr<Control> first = form->AddControl("TextBox", "Line", std::int16_t{0}, frame);
  std::shared_ptr<Control> second = form->AddControl("TextBox", "Line", std::int16_t{1}, frame);
  std::shared_ptr<Control> data = form->AddControl("Data", "Data1");
  std::shared_ptr<Control> name = form->AddControl("TextBox", "Name");
  std::shared_ptr<Control> label = form->AddControl("Label", "Caption1");

  void Fill() {
    first->SetProperty("Text", "2 x tea");
    second->SetProperty("Text", "1 x scones");
    second->SetProperty("SelStart", 2);
    name->SetProperty("Text", "Ada");
    name->SetProperty("DataSource", Variant::Object(data));
    name->SetProperty("DataField", "Name");
    name->SetProperty("MaxLength", 40);
  }
};

std::string ExpectRaisesNaming(int number, const std::string& who,
                               const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), number) << error.Description();
    EXPECT_NE(error.Description().find(who), std::string::npos) << error.Description();
    return error.Description();
  }
  ADD_FAILURE() << "nothing raised";
  return {};
}

class FormState : public ::testing::Test {
 protected:
  void SetUp() override {
    component_.SetContainer(true);
    component_.SetTabIndex(true);
    source_.Fill();
  }

  tavorin::Tavorin component_;
  OrderForm source_;
};

TEST_F(FormState, RestoresOntoAFormBuiltTheSameWayAndSavesAgainTheSameBytes) {
  const ByteArray image = SaveFormState(component_, *source_.form);
  OrderForm target;
  const tavorin::RestoreReport report = RestoreFormState(component_, image, *target.form);
  EXPECT_TRUE(report.skipped.empty());
  // Data controls first, then containers before what they hold.
  EXPECT_EQ(report.restored, (std::vector<std::string>{"Data1", "Frame1", "Name", "Caption1",
                                                       "Line(0)", "Line(1)"}));
  EXPECT_EQ(target.second->GetProperty("Text"), Variant("1 x scones"));
  EXPECT_EQ(target.name->GetProperty("DataSource").AsObject(), ObjectRef(target.data));
  EXPECT_EQ(SaveFormState(component_, *target.form), image);
}

TEST_F(FormState, AMismatchIsRefusedAsAWholeAndTouchesNothing) {
  const ByteArray image = SaveFormState(component_, *source_.form);
  auto lacking = Form::Create("OrderForm");
  auto frame = lacking->AddControl("Frame", "Frame1");
  lacking->AddControl("TextBox", "Line", std::int16_t{0}, frame);
  auto untouched = lacking->AddControl("TextBox", "Name");
  ExpectRaisesNaming(5, "Line(1)", [&] { RestoreFormState(component_, image, *lacking); });
  EXPECT_EQ(untouched->GetProperty("Text"), Variant(""));

  OrderForm otherClass;
  auto swapped = Form::Create("OrderForm");
  for (const auto& control : otherClass.form->Controls()) {
    const bool isName = control->Name() == "Name";
    swapped->AddControl(isName ? "Label" : control->TypeName(), control->Name(),
                        control->IsArrayMember() ? std::optional(control->Index()) : std::nullopt);
  }
  ExpectRaisesNaming(701, "Name", [&] { RestoreFormState(component_, image, *swapped); });
}

TEST_F(FormState, APartialRestoreAppliesWhatMatchesAndReportsTheRest) {
  const ByteArray image = SaveFormState(component_, *source_.form);
  auto lacking = Form::Create("OrderForm");
  auto frame = lacking->AddControl("Frame", "Frame1");
  auto line = lacking->AddControl("TextBox", "Line", std::int16_t{0}, frame);
  const auto report = RestoreFormState(component_, image, *lacking,
                                       FormStateOptions{.customDefaults = {}, .partial = true});
  EXPECT_EQ(line->GetProperty("Text"), Variant("2 x tea"));
  ASSERT_FALSE(report.skipped.empty());
  EXPECT_EQ(report.skipped.front().first, "Line(1)");
  EXPECT_NE(report.skipped.front().second.find("not on the form"), std::string::npos);
  EXPECT_NE(std::find(report.restored.begin(), report.restored.end(), "Line(0)"),
            report.restored.end());
}

TEST_F(FormState, CustomDefaultsAreUsedOnBothSidesAndRequiredWhereStreamsNeedThem) {
  auto model = Form::Create("Model")->AddControl("TextBox", "Model");
  model->SetProperty("MaxLength", 40);
  const FormStateOptions options{.customDefaults = {{"TextBox", component_.ControlToStream(model)}},
                                 .partial = false};
  const ByteArray image = SaveFormState(component_, *source_.form, options);
  OrderForm target;
  ExpectRaisesNaming(705, "TextBox", [&] { RestoreFormState(component_, image, *target.form); });
  RestoreFormState(component_, image, *target.form, options);
  EXPECT_EQ(target.name->GetProperty("MaxLength"), Variant::Long(40));

  const FormStateOptions unfit{.customDefaults = {{"TextBox", ByteArray{1, 2, 3}}},
                               .partial = false};
  ExpectRaisesNaming(706, "TextBox",
                     [&] { RestoreFormState(component_, image, *target.form, unfit); });
}

TEST_F(FormState, DamagedImagesAreRefusedWith321) {
  const ByteArray image = SaveFormState(component_, *source_.form);
  OrderForm target;
  for (std::size_t length = 0; length < image.size(); ++length) {
    EXPECT_RAISES(321,
                  RestoreFormState(component_, ByteArray(image.begin(), image.begin() + length),
                                   *target.form));
  }
  // A stream is a bag image but no form state; so is a form state whose
  // count or entries lie.
  EXPECT_RAISES(
      321, RestoreFormState(component_, component_.ControlToStream(source_.name), *target.form));
  for (const auto& [key, value] :
       std::vector<std::pair<std::string, Variant>>{{"@FC#", Variant::Long(1000)},
                                                    {"@FC#", Variant("many")},
                                                    {"@FS#", Variant::Long(2)},
                                                    {"K0", Variant::Object(nullptr)},
                                                    {"N1", Variant("")}}) {
    PropertyBag bag;
    bag.SetContents(image);
    bag.WriteProperty(key, value);
    SCOPED_TRACE(key);
    EXPECT_RAISES(321, RestoreFormState(component_, bag.Contents(), *target.form));
  }
  EXPECT_EQ(target.second->GetProperty("Text"), Variant(""));
}

}  // namespace
