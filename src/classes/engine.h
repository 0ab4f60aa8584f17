// The engine that runs a property set: the common pattern of every class
// (identity, the catalogue-driven transfer with placement and icons, the
// class's own keys, the item columns of a list by position, data binding),
// and the blocks from which a class that leaves the pattern builds its own
// steps. Every block is best effort: a step that fails is skipped and the
// next one runs.
#pragma once

#include <vector>

#include <tavorin/host/control.h>
#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

#include "catalogue/defaults_catalogue.h"
#include "classes/property_set.h"
#include "groups/component_settings.h"

namespace tavorin::detail {

/// One copy from a control onto another of its class.
class CopyCall {
 public:
  CopyCall(const PropertySet& set, const ComponentSettings& settings, host::Control& source,
           host::Control& destination);

  const PropertySet& Set() const { return set_; }
  const ComponentSettings& Settings() const { return settings_; }
  const DefaultsCatalogue& Catalogue() const { return catalogue_; }
  host::Control& Source() const { return source_; }
  host::Control& Destination() const { return destination_; }

  /// Container and tab index, the catalogued properties, placement and icons,
  /// as the set's copy switches and the settings allow.
  void CommonProperties() const;
  /// Each own key's property, in order.
  void OwnKeys() const;
  /// One property by name, source to destination: one step.
  void CopyProperty(std::string_view property) const;
  /// Each item column of item `index`, source to destination: one step per
  /// column.
  void ItemColumns(int index) const;
  /// The item columns of every item the source holds, onto the same
  /// positions of the destination.
  void Items() const;
  /// The data binding, when the set has it.
  void DataBinding() const;

 private:
  const PropertySet& set_;
  const ComponentSettings& settings_;
  DefaultsCatalogue catalogue_;
  host::Control& source_;
  host::Control& destination_;
};

/// One write of a control into a new stream; the identity is written on
/// construction.
class WriteCall {
 public:
  /// `customDefaults` is nullptr when the caller passed none; it must outlive
  /// the call.
  WriteCall(const PropertySet& set, const ComponentSettings& settings, const host::Control& control,
            const host::PropertyBag* customDefaults);

  const PropertySet& Set() const { return set_; }
  const ComponentSettings& Settings() const { return settings_; }
  const DefaultsCatalogue& Catalogue() const { return catalogue_; }
  const host::Control& Control() const { return control_; }
  host::PropertyBag& Stream() { return stream_; }
  /// nullptr when the caller passed no custom defaults.
  const host::PropertyBag* CustomDefaults() const { return customDefaults_; }

  void CommonProperties();
  /// Each own key, in order, from its property.
  void OwnKeys();
  /// The own key from its property: one step.
  void WriteOwnKey(const OwnKey& key);
  /// `value` under the own key: converted to its stored type and written
  /// against its effective default (or with none, when the key is always
  /// stored and there are no custom defaults); an object by the rules of
  /// stored objects. One step.
  void WriteOwnKey(const OwnKey& key, const host::Variant& value);
  /// An object under `key` by the rules of stored objects, with
  /// `builtInDefault` against the built-in defaults. One step.
  void WriteObject(std::string_view key, const host::Variant& value,
                   const host::Variant& builtInDefault);
  /// The item columns of every item the control holds, item by item, each
  /// under its item key against its effective default: one step per key.
  void Items();
  void DataBinding();

  /// The finished stream: the image of everything written.
  host::ByteArray Finish() const;

 private:
  const PropertySet& set_;
  const ComponentSettings& settings_;
  DefaultsCatalogue catalogue_;
  const host::Control& control_;
  host::PropertyBag stream_;
  const host::PropertyBag* customDefaults_;
  /// The built-in default of each item column, made once for every item.
  std::vector<host::Variant> itemDefaults_;
};

/// One read of a loaded stream onto a control; the identity (container and
/// tab index) is applied on construction.
class ReadCall {
 public:
  /// `stream` and `customDefaults` (nullptr when the caller passed none) must
  /// outlive the call.
  ReadCall(const PropertySet& set, const ComponentSettings& settings,
           const host::PropertyBag& stream, host::Control& control,
           const host::PropertyBag* customDefaults);

  /// False for a stream of another format than 1: nothing beyond the identity
  /// may be applied then.
  bool IsReadable() const { return readable_; }
  const PropertySet& Set() const { return set_; }
  const ComponentSettings& Settings() const { return settings_; }
  const DefaultsCatalogue& Catalogue() const { return catalogue_; }
  host::Control& Control() const { return control_; }
  const host::PropertyBag& Stream() const { return stream_; }
  const host::PropertyBag* CustomDefaults() const { return customDefaults_; }

  void CommonProperties();
  /// Each own key, in order, onto its property.
  void OwnKeys();
  /// The own key onto its property: one step.
  void RestoreOwnKey(const OwnKey& key);
  /// The own key's value: stored, else its effective default, converted to its
  /// stored type (an object as stored). Raises like the host when it does not
  /// convert, so that the caller's step is skipped.
  host::Variant ReadOwnKey(const OwnKey& key) const;
  /// The same converted to `type` instead, for a value the steps take wider
  /// than it is stored (a count bounded rather than refused when too large).
  host::Variant ReadOwnKey(const OwnKey& key, host::VarType type) const;
  /// Each item column of item `index` onto the control, stored else its
  /// effective default: one step per column.
  void ItemColumns(int index);
  /// The item columns of every item the control holds now (its list rebuilt
  /// by what was read before), by position; stored items beyond its last
  /// are never read.
  void Items();
  void DataBinding();

 private:
  const PropertySet& set_;
  const ComponentSettings& settings_;
  DefaultsCatalogue catalogue_;
  const host::PropertyBag& stream_;
  host::Control& control_;
  const host::PropertyBag* customDefaults_;
  std::vector<host::Variant> itemDefaults_;
  bool readable_ = false;
};

/// The common pattern of each operation, which a class's own steps may also
/// run before or after what they add.
void CopyPattern(CopyCall& call);
void WritePattern(WriteCall& call);
void ReadPattern(ReadCall& call);

/// The three operations of a set as the dispatch calls them. Each raises
/// nothing but the host's 13 "Type mismatch" for a control that is not the
/// runtime's control of the class; every other failing step is skipped.
void RunCopy(const PropertySet& set, const ComponentSettings& settings, host::Control& source,
             host::Control& destination);
host::ByteArray RunWrite(const PropertySet& set, const ComponentSettings& settings,
                         const host::Control& control, const host::PropertyBag* customDefaults);
void RunRead(const PropertySet& set, const ComponentSettings& settings,
             const host::PropertyBag& stream, host::Control& control,
             const host::PropertyBag* customDefaults);

}  // namespace tavorin::detail
