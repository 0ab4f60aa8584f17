#include "groups/identity.h"

#include <optional>

#include <tavorin/host/convert.h>

#include "groups/best_effort.h"
#include "groups/members.h"
#include "stream/envelope.h"
#include "stream/stream_flags.h"

namespace tavorin::detail {
namespace {

constexpr std::string_view kTabIndexProperty = "TabIndex";

// A tab index read from a stream without "TbI": leave the tab order alone.
constexpr std::int32_t kNoTabIndex = -1;

// The form's own window and a container control's differ; that is how a
// control sitting directly on its form is told from one inside a container.
bool SitsOnForm(const host::Control& control, const host::Object& container) {
  const auto form = FormOf(control);
  return host::CDbl(container.GetProperty("hWnd")) == host::CDbl(form->GetProperty("hWnd"));
}

}  // namespace

void WriteIdentity(const ComponentSettings& settings, const host::Control& control,
                   host::PropertyBag& stream, ControlType type, bool againstCustomDefaults,
                   const GroupSwitches& switches) {
  TryStep([&] {
    stream.WriteProperty(kStreamFlagsKey,
                         host::Variant::Long(CurrentStreamFlags(type, againstCustomDefaults)));
  });
  if (settings.writeControlName) {
    TryStep([&] { stream.WriteProperty(kControlNameKey, control.Name()); });
  }
  if (switches.container && settings.setContainer) WriteContainer(control, stream);
  if (switches.tabIndex && settings.setTabIndex) {
    TryStep([&] { stream.WriteProperty(kTabIndexKey, control.GetProperty(kTabIndexProperty)); });
  }
}

std::int32_t ReadIdentity(const ComponentSettings& settings, const host::PropertyBag& stream,
                          host::Control& control, const GroupSwitches& switches) {
  std::int32_t version = 0;
  TryStep([&] {
    const host::Variant flags = stream.ReadProperty(kStreamFlagsKey, host::Variant::Integer(0));
    version = DecodeStreamFlags(host::CLng(flags)).version;
  });
  if (switches.container && settings.setContainer) ReadContainer(stream, control);
  if (switches.tabIndex) {
    TryStep([&] {
      const std::int32_t tabIndex =
          host::CLng(stream.ReadProperty(kTabIndexKey, host::Variant::Integer(kNoTabIndex)));
      if (settings.setTabIndex && tabIndex != kNoTabIndex) {
        control.SetProperty(kTabIndexProperty, host::Variant::Long(tabIndex));
      }
    });
  }
  return version;
}

void WriteContainer(const host::Control& control, host::PropertyBag& stream) {
  TryStep([&] {
    const host::ObjectRef container = RequireObject(control.Container());
    if (SitsOnForm(control, *container)) {
      stream.WriteProperty(kContainerNameKey, std::string(kFormMarker));
      return;
    }
    stream.WriteProperty(kContainerNameKey, container->GetProperty("Name"));
    if (IsControlArrayMember(*container)) {
      stream.WriteProperty(kContainerIndexKey, container->GetProperty("Index"));
    }
  });
}

void ReadContainer(const host::PropertyBag& stream, host::Control& control) {
  TryStep([&] {
    const std::string name = host::CStr(stream.ReadProperty(kContainerNameKey, std::string()));
    const host::Variant index = stream.ReadProperty(kContainerIndexKey);
    if (name.empty()) return;
    const auto form = FormOf(control);
    if (name == kFormMarker) {
      control.Container(form);
      return;
    }
    if (auto container = FindFormControl(*form, name, index)) {
      control.Container(container);
    }
  });
}

void CopyPlaceInForm(const ComponentSettings& settings, const host::Control& source,
                     host::Control& destination, const GroupSwitches& switches) {
  if (switches.container && settings.setContainer) {
    TryStep([&] { destination.Container(source.Container()); });
  }
  if (switches.tabIndex && settings.setTabIndex) {
    TryStep(
        [&] { destination.SetProperty(kTabIndexProperty, source.GetProperty(kTabIndexProperty)); });
  }
}

bool IsControlArrayMember(const host::Object& object) {
  return TryStep([&] { object.GetProperty("Index"); });
}

std::shared_ptr<host::Control> FindFormControl(const host::Form& form, const std::string& name,
                                               const host::Variant& index) {
  std::optional<std::int32_t> wantedIndex;
  if (!index.IsEmpty()) wantedIndex = host::CLng(index);
  for (const auto& control : form.Controls()) {
    if (control->Name() != name) continue;
    if (!wantedIndex) return control;
    if (control->IsArrayMember() && control->Index() == *wantedIndex) return control;
  }
  return nullptr;
}

}  // namespace tavorin::detail
