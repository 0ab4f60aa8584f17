// Data binding: DataSource, DataField, DataMember, DataFormat and DataChanged.
// The data source is another control of the same form, so a stream stores it
// by name (and index) and a read resolves it on the destination's form.
#pragma once

#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/property_bag.h>

namespace tavorin::detail {

inline constexpr std::string_view kDataSourceNameKey = "DsN";
inline constexpr std::string_view kDataSourceIndexKey = "DsI";
inline constexpr std::string_view kDataFormatKey = "DtF";
inline constexpr std::string_view kDataMemberKey = "DtM";
inline constexpr std::string_view kDataFieldKey = "DFd";
inline constexpr std::string_view kDataChangedKey = "DtC";

inline constexpr std::string_view kDataSourceProperty = "DataSource";
inline constexpr std::string_view kDataFormatProperty = "DataFormat";
inline constexpr std::string_view kDataMemberProperty = "DataMember";
inline constexpr std::string_view kDataFieldProperty = "DataField";
inline constexpr std::string_view kDataChangedProperty = "DataChanged";

/// Unbinds the destination, then binds it like the source.
void CopyDataBinding(const host::Control& source, host::Control& destination);

/// The data source, the data format (always stored against the built-in
/// defaults), and member, field and changed state against their defaults.
void WriteDataBinding(const host::Control& control, host::PropertyBag& stream,
                      const host::PropertyBag* customDefaults);

/// Unbinds the control, then binds it as the stream says. A data format the
/// stream lacks, without custom defaults, leaves the control's own.
void ReadDataBinding(const host::PropertyBag& stream, host::Control& control,
                     const host::PropertyBag* customDefaults);

/// "DsN" and "DsI" of the data source when it is a control of the form;
/// nothing otherwise. Stops at the first failure.
void WriteDataSource(const host::Control& control, host::PropertyBag& stream);

/// Binds the control to the control of its form that "DsN"/"DsI" name; a name
/// the form lacks leaves it unbound. Stops at the first failure.
void ReadDataSource(const host::PropertyBag& stream, host::Control& control);

}  // namespace tavorin::detail
