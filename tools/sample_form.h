// The demo's sample form: one control of each of the nineteen classes, and a
// realistic state for each one to be written, restored and compared.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <tavorin/tavorin.h>

namespace tavorin::cli {

/// Makes the small folder tree that the sample's file controls show in
/// `folder` and maps it as their drive for the whole process. Raises the
/// host's RuntimeError when the tree cannot be made or mapped.
void MapSampleDrive(const std::filesystem::path& folder);

/// A form holding one control of every class, each in its default state
/// (with the MultiSelect it is built with) and in the same container,
/// measured in the same units, on every sample form, so that a control of
/// one sample form has its twin (of the same name) on another.
std::shared_ptr<host::Form> BuildSampleForm();

/// Puts every control of a form that BuildSampleForm made into its sample
/// state. Its Data control reads a small database of customers that this
/// makes anew at `databasePath`, and stands on a record past the first.
/// Raises the host's RuntimeError, its description naming the control and the
/// property, or the database, when a sample setting cannot be made.
void ApplySampleState(host::Form& form, const std::string& databasePath);

/// The control of that name on `form`, or nullptr.
std::shared_ptr<host::Control> ControlNamed(const host::Form& form, const std::string& name);

}  // namespace tavorin::cli
