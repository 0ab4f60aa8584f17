// The numbers of the component's own errors. Applications tell the errors
// apart by these numbers, so they never change.
#pragma once

namespace tavorin {

/// The Number() of a host::RuntimeError that the component raises itself,
/// with its Description() in quotes. Each also carries the help file
/// "tavorn.hlp" and help context 1000 + number, and no source. The host's own
/// numbers (13, 380, 438, ...) are in host::errors.
enum ComponentError : int {
  /// "Object is not a control": a source or destination that is an object
  /// but not a control (a form, say).
  kNotAControl = 700,
  /// "Control type mismatch": CopyControl between controls of two classes.
  kControlTypeMismatch = 701,
  /// "Unsupported control": a control of a class the component does not handle.
  kUnsupportedControl = 702,
  /// "Invalid Stream": StreamToControl given bytes that are no stream.
  kInvalidStream = 703,
  /// "Stream control type mismatch": a stream, or custom defaults, of
  /// another class than the control's.
  kStreamControlTypeMismatch = 704,
  /// "Missing CustomDefaultsStream": the stream was written against custom
  /// defaults and none were given.
  kMissingCustomDefaultsStream = 705,
  /// "Invalid CustomDefaultsStream": custom defaults that are no stream, or
  /// were themselves written against custom defaults.
  kInvalidCustomDefaultsStream = 706,
};

}  // namespace tavorin
