#include <tavorin/host/form.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string_view>
#include <unordered_map>

#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/lists.h>

#include "host/ascii_case.h"
#include "host/window_handle.h"

namespace tavorin::host {
namespace {

constexpr std::size_t kMaxNameLength = 40;

using Factory = std::function<std::shared_ptr<Control>(const ControlSeed&)>;

template <typename ControlClass>
Factory Make() {
  return [](const ControlSeed& seed) { return std::make_shared<ControlClass>(seed); };
}

const std::unordered_map<std::string_view, Factory>& Factories() {
  static const std::unordered_map<std::string_view, Factory> factories = {
      {"PictureBox", Make<PictureBox>()},
      {"Label", Make<Label>()},
      {"TextBox", Make<TextBox>()},
      {"Frame", Make<Frame>()},
      {"CommandButton", Make<CommandButton>()},
      {"CheckBox", Make<CheckBox>()},
      {"OptionButton", Make<OptionButton>()},
      {"ComboBox", Make<ComboBox>()},
      {"ListBox", Make<ListBox>()},
      {"HScrollBar", Make<HScrollBar>()},
      {"VScrollBar", Make<VScrollBar>()},
      {"Timer", Make<Timer>()},
      {"DriveListBox", Make<DriveListBox>()},
      {"DirListBox", Make<DirListBox>()},
      {"FileListBox", Make<FileListBox>()},
      {"Shape", Make<Shape>()},
      {"Line", Make<Line>()},
      {"Image", Make<Image>()},
      {"Data", Make<Data>()},
  };
  return factories;
}

/// A control of another library: the generic members under its own class
/// name.
class ExternalControl final : public Control {
 public:
  ExternalControl(std::weak_ptr<Form> form, std::string name, std::string typeName)
      : Control(std::move(form), std::move(name), std::nullopt), type_name_(std::move(typeName)) {}
  std::string TypeName() const override { return type_name_; }

 private:
  std::string type_name_;
};

bool IsIdentifier(const std::string& name) {
  const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const auto isWordCharacter = [&](char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == '_';
  };
  return !name.empty() && name.size() <= kMaxNameLength && isLetter(name.front()) &&
         std::all_of(name.begin(), name.end(), isWordCharacter);
}

}  // namespace

namespace detail {
std::int64_t NewWindowHandle() {
  // Spaced like the handles of a real window manager; never 0.
  static std::atomic<std::int64_t> next{0x10010};
  return next.fetch_add(4);
}
}  // namespace detail

Form::Form(std::string name) : name_(std::move(name)), hwnd_(detail::NewWindowHandle()) {}

std::shared_ptr<Form> Form::Create(std::string name) {
  return std::shared_ptr<Form>(new Form(std::move(name)));
}

std::shared_ptr<Control> Form::AddControl(const std::string& className, const std::string& name,
                                          std::optional<std::int16_t> index, ObjectRef container) {
  const auto factory = Factories().find(className);
  if (factory == Factories().end()) RaiseHostError(errors::kInvalidProcedureCall);
  RequireFreeName(name, index);
  std::shared_ptr<Control> holder = ContainerControl(container);
  auto self = std::static_pointer_cast<Form>(shared_from_this());
  std::shared_ptr<Control> control = factory->second(ControlSeed(self, name, index));
  control->container_ = holder;
  control->Initialize(detail::NewWindowHandle());
  return Register(std::move(control));
}

std::shared_ptr<Control> Form::AddExternalControl(const std::string& typeName,
                                                  const std::string& name) {
  RequireFreeName(name, std::nullopt);
  auto self = std::static_pointer_cast<Form>(shared_from_this());
  auto control = std::make_shared<ExternalControl>(self, name, typeName);
  control->Initialize(0);
  return Register(std::move(control));
}

void Form::RequireFreeName(const std::string& name, std::optional<std::int16_t> index) const {
  if (!IsIdentifier(name) || (index && *index < 0)) RaiseHostError(errors::kInvalidProcedureCall);
  for (const std::shared_ptr<Control>& control : controls_) {
    if (!detail::EqualsIgnoringCase(control->Name(), name)) continue;
    // One plain control per name, or an array whose members all have indexes.
    if (!index || !control->IsArrayMember() || control->Index() == *index) {
      RaiseHostError(errors::kInvalidProcedureCall);
    }
  }
}

std::shared_ptr<Control> Form::ContainerControl(const ObjectRef& container) const {
  if (!container || container == shared_from_this()) return nullptr;
  auto holder = std::dynamic_pointer_cast<Control>(container);
  const bool ours =
      holder && std::find(controls_.begin(), controls_.end(), holder) != controls_.end();
  if (!ours || !(dynamic_cast<const Frame*>(holder.get()) ||
                 dynamic_cast<const PictureBox*>(holder.get()))) {
    RaiseHostError(errors::kInvalidProcedureCall);
  }
  return holder;
}

std::shared_ptr<Control> Form::Register(std::shared_ptr<Control> control) {
  controls_.push_back(control);
  if (control->HasTabIndex()) tab_order_.push_back(control.get());
  return control;
}

std::int16_t Form::TabPosition(const Control& control) const {
  const auto found = std::find(tab_order_.begin(), tab_order_.end(), &control);
  return static_cast<std::int16_t>(found - tab_order_.begin());
}

void Form::MoveInTabOrder(const Control& control, std::int16_t position) {
  if (position < 0 || static_cast<std::size_t>(position) >= tab_order_.size()) {
    RaiseHostError(errors::kInvalidPropertyValue);
  }
  const auto from = std::find(tab_order_.begin(), tab_order_.end(), &control);
  const auto to = tab_order_.begin() + position;
  if (from < to) {
    std::rotate(from, from + 1, to + 1);
  } else {
    std::rotate(to, from, from + 1);
  }
}

void Form::ScaleMode(std::int16_t mode) {
  if (mode < 0 || mode > 7) RaiseHostError(errors::kInvalidPropertyValue);
  scale_mode_ = mode;
}

Variant Form::GetProperty(const std::string& name) const {
  if (detail::EqualsIgnoringCase(name, "Name")) return Variant(name_);
  if (detail::EqualsIgnoringCase(name, "ScaleMode")) return Variant(scale_mode_);
  if (detail::EqualsIgnoringCase(name, "hWnd")) return Variant(static_cast<std::int32_t>(hwnd_));
  RaiseHostError(errors::kNoSuchMember);
}

void Form::SetProperty(const std::string& name, const Variant& value) {
  if (detail::EqualsIgnoringCase(name, "ScaleMode")) {
    ScaleMode(CInt(value));
    return;
  }
  if (detail::EqualsIgnoringCase(name, "Name") || detail::EqualsIgnoringCase(name, "hWnd")) {
    RaiseHostError(errors::kPropertyReadOnly);
  }
  RaiseHostError(errors::kNoSuchMember);
}

}  // namespace tavorin::host
