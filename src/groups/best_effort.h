// Best-effort transfer: a property set moves many independent properties, and
// one that a control lacks or refuses must not cost the others. Every step of
// a group or a set runs through TryStep.
#pragma once

#include <utility>

#include <tavorin/host/error.h>

namespace tavorin::detail {

/// Runs `step`. A host::RuntimeError that it raises is swallowed: the step is
/// skipped and the result is false; otherwise the result is true.
///
/// Only RuntimeError is caught. Every failure of the host runtime (a member
/// the control lacks, a value it refuses, a stream it cannot load) is one, so
/// any other exception is a programming error of the host or the component and
/// propagates, in release builds as in debug builds, instead of silently
/// turning into a property that did not arrive.
template <typename Step>
bool TryStep(Step&& step) {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (const host::RuntimeError&) {
    return false;
  }
}

}  // namespace tavorin::detail
