#include <cctype>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/lists.h>

#include "host/controls/list_members.h"
#include "host/file_system.h"
#include "host/item_list.h"

namespace tavorin::host {
namespace detail {

/// What a FileListBox lists: until Path is first set, nothing.
struct FileListing {
  std::string path;
  std::string pattern;
  FileAttributeFilter filter;
};

}  // namespace detail

namespace {

using detail::Binding;

/// `path` taken from `current` (or from c:\ when there is none yet) in the
/// runtime's form with an upper-case drive ("C:\dir"). Raises 76 unless it
/// is an existing folder, 68 for an unmapped drive.
std::string ResolveFolder(const std::string& path, const std::string& current) {
  std::string folder = detail::NormalizePath(path, current.empty() ? "c:\\" : current);
  detail::RequireDirectory(folder);
  folder.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(folder.front())));
  return folder;
}

std::string Child(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + '\\' + name;
}

std::vector<Binding> WithPositions(std::vector<Binding> own) {
  std::vector<Binding> bindings = detail::ListMembers::Positions();
  bindings.insert(bindings.end(), own.begin(), own.end());
  return bindings;
}

std::vector<detail::MethodSpec> ListingMethods(detail::MethodCall refresh) {
  return {detail::ListMembers::ReadOnlyList(), {"Refresh", 0, 0, refresh}};
}

const detail::PropertyTable& DriveListBoxTable() {
  static const detail::PropertyTable table = detail::BuildClassTable(
      "DriveListBox",
      WithPositions(
          {{"Drive",
            [](const Control& c) { return Variant(static_cast<const DriveListBox&>(c).Drive()); },
            [](Control& c, const Variant& v) { static_cast<DriveListBox&>(c).Drive(CStr(v)); }}}),
      ListingMethods([](Control& c, const std::vector<Variant>&) {
        static_cast<DriveListBox&>(c).Refresh();
        return Variant();
      }));
  return table;
}

const detail::PropertyTable& DirListBoxTable() {
  static const detail::PropertyTable table = detail::BuildClassTable(
      "DirListBox",
      WithPositions(
          {{"Path",
            [](const Control& c) { return Variant(static_cast<const DirListBox&>(c).Path()); },
            [](Control& c, const Variant& v) { static_cast<DirListBox&>(c).Path(CStr(v)); }}}),
      ListingMethods([](Control& c, const std::vector<Variant>&) {
        static_cast<DirListBox&>(c).Refresh();
        return Variant();
      }));
  return table;
}

/// The by-name member of one attribute switch of a FileListBox.
template <bool (FileListBox::*Get)() const, void (FileListBox::*Set)(bool)>
Binding Switch(std::string_view name) {
  return {name,
          [](const Control& c) { return Variant((static_cast<const FileListBox&>(c).*Get)()); },
          [](Control& c, const Variant& v) { (static_cast<FileListBox&>(c).*Set)(CBool(v)); }};
}

const detail::PropertyTable& FileListBoxTable() {
  static const detail::PropertyTable table = [] {
    std::vector<Binding> bindings = WithPositions(
        {{"Path",
          [](const Control& c) { return Variant(static_cast<const FileListBox&>(c).Path()); },
          [](Control& c, const Variant& v) { static_cast<FileListBox&>(c).Path(CStr(v)); }},
         {"Pattern",
          [](const Control& c) { return Variant(static_cast<const FileListBox&>(c).Pattern()); },
          [](Control& c, const Variant& v) { static_cast<FileListBox&>(c).Pattern(CStr(v)); }},
         Switch<&FileListBox::Archive, &FileListBox::Archive>("Archive"),
         Switch<&FileListBox::Hidden, &FileListBox::Hidden>("Hidden"),
         Switch<&FileListBox::Normal, &FileListBox::Normal>("Normal"),
         Switch<&FileListBox::ReadOnly, &FileListBox::ReadOnly>("ReadOnly"),
         Switch<&FileListBox::System, &FileListBox::System>("System")});
    for (const Binding& binding : detail::ListMembers::Selection()) bindings.push_back(binding);
    std::vector<detail::MethodSpec> methods =
        ListingMethods([](Control& c, const std::vector<Variant>&) {
          static_cast<FileListBox&>(c).Refresh();
          return Variant();
        });
    methods.push_back(detail::ListMembers::Selected());
    return detail::BuildClassTable("FileListBox", bindings, std::move(methods));
  }();
  return table;
}

}  // namespace

DriveListBox::DriveListBox(const ControlSeed& seed) : ListControl(seed, DriveListBoxTable()) {}

void DriveListBox::Drive(const std::string& drive) {
  std::string root = detail::RootOf(detail::DriveLetterOf(drive));
  // Reading the table again would move the list back to its top; a restore
  // assigns the drive, TopIndex and then ListIndex, so the drive already
  // shown must leave the list where TopIndex put it.
  if (root == drive_ && MarkCurrentDrive()) return;
  drive_ = std::move(root);
  Refresh();
}

void DriveListBox::ListIndex(int index) {
  if (index >= 0) {
    Drive(List(index));
  } else {
    Items().SetListIndex(index);
  }
}

void DriveListBox::Refresh() {
  Items().Replace(detail::DriveEntries());
  MarkCurrentDrive();
}

bool DriveListBox::MarkCurrentDrive() {
  if (drive_.empty()) return false;  // no drive taken yet
  // Entries and the drive both start with the lower-case letter ("c:", "c:\").
  for (int index = 0; index < ListCount(); ++index) {
    if (List(index).front() == drive_.front()) {
      Items().SetListIndex(index);
      return true;
    }
  }
  return false;
}

DirListBox::DirListBox(const ControlSeed& seed) : ListControl(seed, DirListBoxTable()) {}

void DirListBox::Path(const std::string& path) {
  std::string folder = ResolveFolder(path, path_);
  std::vector<std::string> children = detail::SubFolders(folder);
  for (std::string& child : children) child = Child(folder, child);
  Items().Replace(std::move(children));
  path_ = std::move(folder);
}

void DirListBox::Refresh() { Path(path_); }

FileListBox::FileListBox(const ControlSeed& seed)
    : ListControl(seed, FileListBoxTable()), listing_(std::make_unique<detail::FileListing>()) {}

FileListBox::~FileListBox() = default;

const std::string& FileListBox::Path() const { return listing_->path; }
const std::string& FileListBox::Pattern() const { return listing_->pattern; }
bool FileListBox::Archive() const { return listing_->filter.archive; }
bool FileListBox::Hidden() const { return listing_->filter.hidden; }
bool FileListBox::Normal() const { return listing_->filter.normal; }
bool FileListBox::ReadOnly() const { return listing_->filter.readOnly; }
bool FileListBox::System() const { return listing_->filter.system; }

template <typename Edit>
void FileListBox::Relist(Edit edit) {
  detail::FileListing changed = *listing_;
  edit(changed);
  if (!changed.path.empty()) {
    Items().Replace(detail::MatchingFiles(changed.path, changed.pattern, changed.filter));
  }
  *listing_ = std::move(changed);
}

void FileListBox::Path(const std::string& path) {
  Relist([&path](detail::FileListing& l) { l.path = ResolveFolder(path, l.path); });
}
void FileListBox::Pattern(const std::string& pattern) {
  Relist([&pattern](detail::FileListing& l) { l.pattern = pattern; });
}
void FileListBox::Archive(bool shown) {
  Relist([shown](detail::FileListing& l) { l.filter.archive = shown; });
}
void FileListBox::Hidden(bool shown) {
  Relist([shown](detail::FileListing& l) { l.filter.hidden = shown; });
}
void FileListBox::Normal(bool shown) {
  Relist([shown](detail::FileListing& l) { l.filter.normal = shown; });
}
void FileListBox::ReadOnly(bool shown) {
  Relist([shown](detail::FileListing& l) { l.filter.readOnly = shown; });
}
void FileListBox::System(bool shown) {
  Relist([shown](detail::FileListing& l) { l.filter.system = shown; });
}
void FileListBox::MultiSelect(int mode) {
  Items().Replace({});
  try {
    Items().SetMultiSelect(mode);
  } catch (const RuntimeError&) {
    Refresh();
    throw;
  }
  Refresh();
}

void FileListBox::Refresh() {
  Relist([](detail::FileListing&) {});
}

}  // namespace tavorin::host
