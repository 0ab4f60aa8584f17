// The lists a program fills, ComboBox and ListBox: one layout of keys and one
// set of steps for both, as their rows say. The items come back before the
// catalogued properties (ListIndex among them) are applied, and the item
// added last is added again at its place, since NewIndex cannot be set.
// Also the item columns of every list class, the file list box's included.
#pragma once

#include <string_view>
#include <utility>

#include <tavorin/host/convert.h>
#include <tavorin/host/lists.h>

#include "classes/property_set.h"

namespace tavorin::detail {

/// The own keys of a list's positions.
inline constexpr std::string_view kListCountKey = "BCL";
inline constexpr std::string_view kListIndexKey = "LIn";
inline constexpr std::string_view kTopIndexKey = "TIn";
inline constexpr std::string_view kNewIndexKey = "NIn";

/// Steps of the sets whose lists the program fills. `List` is the runtime
/// class; what the set stores comes from its row: the own keys (the four
/// positions, then anything the class shows of an edit text) and the item
/// columns.
template <typename List>
struct FilledListSteps {
  static void Copy(CopyCall& call);
  static void Write(WriteCall& call);
  static void Read(ReadCall& call);
};

extern template struct FilledListSteps<host::ComboBox>;
extern template struct FilledListSteps<host::ListBox>;

template <typename List>
inline constexpr ClassSteps kFilledListSteps{
    &FilledListSteps<List>::Copy, &FilledListSteps<List>::Write, &FilledListSteps<List>::Read};

/// The item columns, for a list of the runtime class `List`.
template <typename List>
inline constexpr ItemColumn kItemText{
    'I',
    "List",
    "text",
    host::VarType::String,
    default_literals::Text(""),
    [](const host::Control& list, int index) {
      return host::Variant(static_cast<const List&>(list).List(index));
    },
    [](host::Control& list, int index, host::Variant text) {
      static_cast<List&>(list).List(index, host::CStr(std::move(text)));
    }};

template <typename List>
inline constexpr ItemColumn kItemData{
    'D',
    "ItemData",
    "data",
    host::VarType::Long,
    default_literals::Integer(0),
    [](const host::Control& list, int index) {
      return host::Variant(static_cast<const List&>(list).ItemData(index));
    },
    [](host::Control& list, int index, host::Variant data) {
      static_cast<List&>(list).ItemData(index, host::CLng(data));
    }};

template <typename List>
inline constexpr ItemColumn kItemSelected{
    'S',
    "Selected",
    "selected",
    host::VarType::Boolean,
    default_literals::Boolean(false),
    [](const host::Control& list, int index) {
      return host::Variant(static_cast<const List&>(list).Selected(index));
    },
    [](host::Control& list, int index, host::Variant selected) {
      static_cast<List&>(list).Selected(index, host::CBool(selected));
    }};

}  // namespace tavorin::detail
