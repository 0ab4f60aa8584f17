// Small accessors shared by the groups: the object members they follow from a
// control, failing like any other host member when they lead nowhere.
#pragma once

#include <memory>

#include <tavorin/host/control.h>
#include <tavorin/host/error.h>
#include <tavorin/host/form.h>

namespace tavorin::detail {

/// `object` itself; raises 91 when it is Nothing, so that a step following a
/// missing container or data source fails like any other host member.
inline host::ObjectRef RequireObject(host::ObjectRef object) {
  if (!object) host::RaiseHostError(host::errors::kObjectNotSet);
  return object;
}

/// The form that owns the control; raises 91 once the form is gone.
inline std::shared_ptr<host::Form> FormOf(const host::Control& control) {
  auto form = control.Parent();
  if (!form) host::RaiseHostError(host::errors::kObjectNotSet);
  return form;
}

}  // namespace tavorin::detail
