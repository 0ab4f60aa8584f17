// The list controls: ListBox and ComboBox, whose items the program adds, and
// the drive, folder and file list boxes, which fill their lists themselves
// from the runtime's drive table (<tavorin/host/drives.h>).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <tavorin/host/control.h>
#include <tavorin/host/controls.h>

namespace tavorin::host {

namespace detail {
class ItemList;
class ListMembers;
struct FileListing;
}  // namespace detail

/// What every list control offers. Item indexes count from 0 and a list
/// holds at most 32,767 items. Methods given an index outside the list raise
/// 5, indexed properties 381, ListIndex and TopIndex 380 for a value they do
/// not take. By name: "ListCount", "ListIndex", "TopIndex" and the indexed
/// "List" (CallMethod("List", {i})), plus what each class publishes below.
class ListControl : public Control {
 public:
  /// Item indexes are 16-bit in the runtime.
  static constexpr int kMaxItems = 32767;

  ~ListControl() override;

  const std::string& List(int index) const;
  int ListCount() const;
  /// The selected item, -1 for none.
  int ListIndex() const;
  /// -1 to ListCount - 1.
  virtual void ListIndex(int index);
  /// The first visible item.
  int TopIndex() const;
  /// 0 to ListCount - 1 (0 on an empty list).
  void TopIndex(int index);

 protected:
  ListControl(const ControlSeed& seed, const detail::PropertyTable& table);

  // The members below belong to some list classes only; each class
  // publishes its own with using-declarations.

  /// Inserts at `index` (0 to ListCount; default: the end) and makes the item
  /// the NewIndex.
  void AddItem(const std::string& text, std::optional<int> index = std::nullopt);
  /// Makes room for `count` items (at most kMaxItems are kept room for), so
  /// that adding up to that many moves none; the list itself is unchanged.
  void ReserveItems(int count);
  /// NewIndex becomes -1.
  void RemoveItem(int index);
  void Clear();
  void List(int index, std::string text);
  std::int32_t ItemData(int index) const;
  void ItemData(int index, std::int32_t value);
  /// The item added last; -1 after RemoveItem and Clear.
  int NewIndex() const;
  bool Selected(int index) const;
  /// With MultiSelect 0 selecting an item makes it the only selected one and
  /// the ListIndex.
  void Selected(int index, bool selected);
  int SelCount() const;
  /// 0 none, 1 simple, 2 extended; chosen before the list holds items (383
  /// afterwards).
  int MultiSelect() const;
  virtual void MultiSelect(int mode);

  detail::ItemList& Items() const { return *items_; }

 private:
  friend class detail::ListMembers;
  std::unique_ptr<detail::ItemList> items_;
};

/// Items with item data, and an edit text. Choosing an item (ListIndex) puts
/// its text in the edit text (choosing none empties it); assigning a text
/// other than the chosen item's leaves no item chosen.
class ComboBox final : public ListControl, public EditText {
 public:
  explicit ComboBox(const ControlSeed& seed);

  using ListControl::AddItem;
  using ListControl::Clear;
  using ListControl::ItemData;
  using ListControl::List;
  using ListControl::ListIndex;
  using ListControl::NewIndex;
  using ListControl::RemoveItem;
  using ListControl::ReserveItems;
  void ListIndex(int index) override;

  using EditText::Text;
  void Text(std::string text) override;
};

/// Items with item data and selection states.
class ListBox final : public ListControl {
 public:
  explicit ListBox(const ControlSeed& seed);

  using ListControl::AddItem;
  using ListControl::Clear;
  using ListControl::ItemData;
  using ListControl::List;
  using ListControl::MultiSelect;
  using ListControl::NewIndex;
  using ListControl::RemoveItem;
  using ListControl::ReserveItems;
  using ListControl::SelCount;
  using ListControl::Selected;
};

/// The mapped drives ("c:", "d:", ...). Drive reads as the drive's root in
/// lower case ("c:\"); it accepts "c:", "c:\" or a list entry, raising 68
/// for an unmapped drive and keeping its drive. ListIndex marks the current
/// drive; choosing an item changes the drive. Choosing the drive the box
/// already shows (by Drive or ListIndex) keeps its list and its TopIndex;
/// any other drive reads the drive table again.
class DriveListBox final : public ListControl {
 public:
  explicit DriveListBox(const ControlSeed& seed);

  const std::string& Drive() const { return drive_; }
  void Drive(const std::string& drive);
  using ListControl::ListIndex;
  void ListIndex(int index) override;
  /// Reads the drive table again.
  void Refresh();

 private:
  /// Makes the entry of the current drive the ListIndex; false when the list
  /// has none.
  bool MarkCurrentDrive();

  std::string drive_;
};

/// The folders inside Path, as full paths. Path reads in the runtime's form
/// with an upper-case drive ("C:\dir"); assigning a folder that does not
/// exist raises 76 (68 for an unmapped drive) and keeps the old path; a
/// relative path is taken from the current one.
class DirListBox final : public ListControl {
 public:
  explicit DirListBox(const ControlSeed& seed);

  const std::string& Path() const { return path_; }
  void Path(const std::string& path);
  /// Reads the folder again.
  void Refresh();

 private:
  std::string path_;
};

/// The files in Path that match Pattern ("*.txt;*.ini"; "*" and "?",
/// case-insensitive) and pass the attribute switches: on this host names
/// that begin with a dot are hidden, files without write permission are
/// read-only, other files normal and archive. Changing Path, Pattern or a
/// switch rebuilds the list (nothing selected). Path behaves as a
/// DirListBox's.
class FileListBox final : public ListControl {
 public:
  explicit FileListBox(const ControlSeed& seed);
  ~FileListBox() override;

  const std::string& Path() const;
  void Path(const std::string& path);
  const std::string& Pattern() const;
  void Pattern(const std::string& pattern);
  bool Archive() const;
  void Archive(bool shown);
  bool Hidden() const;
  void Hidden(bool shown);
  bool Normal() const;
  void Normal(bool shown);
  bool ReadOnly() const;
  void ReadOnly(bool shown);
  bool System() const;
  void System(bool shown);
  /// Reads the folder again.
  void Refresh();

  using ListControl::MultiSelect;
  /// A FileListBox fills its list itself, so its mode may change at any
  /// time: the list is read again with nothing selected.
  void MultiSelect(int mode) override;
  using ListControl::SelCount;
  using ListControl::Selected;

 private:
  /// Applies `edit` to a copy of the listing and lists again; the copy is
  /// kept only when listing succeeds.
  template <typename Edit>
  void Relist(Edit edit);

  std::unique_ptr<detail::FileListing> listing_;
};

}  // namespace tavorin::host
