#include "sample_form.h"

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace tavorin::cli {
namespace {

using host::Variant;

// The drive the file controls show: a small tree under the demo's folder.
constexpr char kSampleDrive = 's';
constexpr std::string_view kSampleFiles[] = {"orders/2025/closed.csv", "orders/2026/open.csv",
                                             "orders/feb.csv",         "orders/jan.csv",
                                             "orders/mar.csv",         "orders/notes.txt",
                                             "orders/totals.xls",      "invoices/0001.pdf",
                                             "templates/order.dot",    "readme.txt"};

struct Setting {
  std::string_view property;
  Variant value;
  std::optional<std::int16_t> item = std::nullopt;  // for an indexed member: its item
};

// A control of the sample form: where it sits, how it is built (a list's
// MultiSelect is chosen before it holds items, and no stream carries it),
// and the state the demo gives it. Items are added first (ListIndex needs
// them), then the settings in order (Text before the selection that is
// measured in it), then the binding.
struct SampleControl {
  std::string_view className;
  std::string_view name;
  std::string_view container;  // "" for the form itself
  std::vector<std::string_view> items;
  std::vector<Setting> settings;
  std::string_view dataSource = {};  // the control the binding names, "" for none
  // Given at creation on every sample form: a container's units.
  std::vector<Setting> layout = {};
  std::int16_t multiSelect = 0;
};

Variant Colour(std::uint32_t rgb) { return Variant::Long(static_cast<std::int32_t>(rgb)); }

Variant BlankPicture(int width, int height) { return host::Picture::Blank(width, height); }

Variant NumberFormat(std::string format, std::int16_t type) {
  auto dataFormat = std::make_shared<host::DataFormat>();
  dataFormat->Format(std::move(format));
  dataFormat->Type(type);
  return dataFormat;
}

// An order-entry form: positions in twips, colours as RGB Longs.
const std::vector<SampleControl>& SampleControls() {
  // clang-format off
  static const std::vector<SampleControl> kControls = {
      {"Data", "Data1", "", {},
       {{"RecordSource", "Customers"}, {"Caption", "Customers"}, {"ReadOnly", true},
        {"Left", 120.0f}, {"Top", 5160.0f}, {"Width", 4500.0f}, {"Height", 345.0f}}},
      {"Frame", "Frame1", "", {},
       {{"Caption", "Delivery"}, {"FontItalic", true}, {"Left", 4800.0f}, {"Top", 120.0f},
        {"Width", 3000.0f}, {"Height", 1335.0f}}},
      {"PictureBox", "Picture1", "", {},
       {{"BackColor", Colour(0xFFFFC0)}, {"AutoRedraw", true}, {"Picture", BlankPicture(32, 32)},
        {"ToolTipText", "Preview"}, {"Left", 120.0f}, {"Top", 3600.0f}, {"Width", 1200.0f},
        {"Height", 1200.0f}},
       "",
       {{"ScaleMode", std::int16_t{3}}}},
      {"Label", "Label1", "", {},
       {{"Caption", "Customer &name:"}, {"Alignment", std::int16_t{1}},
        {"BackStyle", std::int16_t{0}}, {"BackColor", Colour(0xE0FFFF)},
        {"ForeColor", Colour(0x800000)}, {"FontBold", true}, {"Left", 120.0f},
        {"Top", 165.0f}, {"Width", 1500.0f}, {"Height", 255.0f}}},
      // Its text is the customer's name, shown from the record with the caret
      // at the start.
      {"TextBox", "Text1", "", {},
       {{"MaxLength", 40}, {"FontName", "Tahoma"},
        {"FontSize", 9.75f}, {"Tag", "customer"}, {"ToolTipText", "Full name"},
        {"MousePointer", std::int16_t{99}}, {"MouseIcon", BlankPicture(32, 32)},
        {"Left", 1740.0f}, {"Top", 120.0f}, {"Width", 2895.0f}, {"Height", 315.0f},
        {"DataField", "Name"},
        {"DataFormat", NumberFormat("General", 1)}},
       "Data1"},
      {"CommandButton", "Command1", "", {},
       {{"Caption", "&Save"}, {"Default", true}, {"Picture", BlankPicture(16, 16)},
        {"DownPicture", BlankPicture(16, 15)}, {"DisabledPicture", BlankPicture(16, 14)},
        {"UseMaskColor", true}, {"ToolTipText", "Save the order"},
        {"Left", 6600.0f}, {"Top", 4680.0f}, {"Width", 1200.0f}, {"Height", 375.0f}}},
      {"CheckBox", "Check1", "Frame1", {},
       {{"Caption", "Gift wrap"}, {"Value", std::int16_t{1}}, {"Left", 240.0f},
        {"Top", 360.0f}, {"Width", 1800.0f}, {"Height", 255.0f}}},
      {"OptionButton", "Option1", "Frame1", {},
       {{"Caption", "Express"}, {"Value", true}, {"Left", 240.0f}, {"Top", 720.0f},
        {"Width", 1800.0f}, {"Height", 255.0f}}},
      {"ComboBox", "Combo1", "", {"Standard", "Express", "Overnight", "Pick-up"},
       {{"ItemData", 500, 0}, {"ItemData", 1250, 1}, {"ItemData", 2900, 2},
        {"ItemData", -1, 3}, {"ListIndex", std::int16_t{1}}, {"SelStart", 2},
        {"SelLength", 3}, {"Tag", "shipping"}, {"Left", 1740.0f}, {"Top", 600.0f},
        {"Width", 2895.0f}, {"Height", 315.0f}}},
      {"ListBox", "List1", "", {"Red", "Green", "Blue", "Black", "White", "Grey", "Ivory"},
       {{"ItemData", Colour(0x0000FF), 0}, {"ItemData", Colour(0x00FF00), 1},
        {"ItemData", Colour(0xFF0000), 2}, {"ItemData", Colour(0xFFFFFF), 4},
        {"ItemData", Colour(0x808080), 5}, {"Selected", true, 1}, {"Selected", true, 2},
        {"Selected", true, 5}, {"ListIndex", std::int16_t{2}}, {"TopIndex", std::int16_t{1}},
        {"ForeColor", Colour(0x404040)}, {"Left", 1740.0f}, {"Top", 1080.0f},
        {"Width", 2895.0f}, {"Height", 840.0f}},
       "",
       {},
       2},
      {"HScrollBar", "HScroll1", "", {},
       {{"Max", std::int16_t{100}}, {"LargeChange", std::int16_t{10}},
        {"Value", std::int16_t{40}}, {"Left", 1740.0f}, {"Top", 2040.0f},
        {"Width", 2895.0f}, {"Height", 255.0f}}},
      {"VScrollBar", "VScroll1", "", {},
       {{"Min", std::int16_t{50}}, {"Max", std::int16_t{1}}, {"SmallChange", std::int16_t{2}},
        {"Value", std::int16_t{25}}, {"Left", 4680.0f}, {"Top", 1080.0f},
        {"Width", 255.0f}, {"Height", 840.0f}}},
      {"Timer", "Timer1", "", {},
       {{"Interval", 1000}, {"Tag", "autosave"}, {"Enabled", false}}},
      {"DriveListBox", "Drive1", "", {},
       {{"Drive", "s:"}, {"TopIndex", std::int16_t{1}}, {"BackColor", Colour(0xF0F0F0)},
        {"Left", 4800.0f}, {"Top", 1560.0f}, {"Width", 3000.0f}}},
      {"Shape", "Shape1", "", {},
       {{"Shape", std::int16_t{4}}, {"FillStyle", std::int16_t{0}},
        {"FillColor", Colour(0x00C0FF)}, {"BorderWidth", std::int16_t{2}}, {"Left", 1440.0f},
        {"Top", 3600.0f}, {"Width", 1200.0f}, {"Height", 600.0f}}},
      {"DirListBox", "Dir1", "", {},
       {{"Path", "s:\\"}, {"ListIndex", std::int16_t{1}}, {"TopIndex", std::int16_t{1}},
        {"Left", 4800.0f}, {"Top", 1980.0f}, {"Width", 3000.0f}, {"Height", 1200.0f}}},
      {"FileListBox", "File1", "", {},
       {{"Path", "s:\\orders"}, {"Pattern", "*.csv;*.txt"}, {"Selected", true, 0},
        {"Selected", true, 2}, {"Selected", true, 3}, {"ListIndex", std::int16_t{2}},
        {"Left", 4800.0f}, {"Top", 3300.0f}, {"Width", 3000.0f}, {"Height", 1200.0f}},
       "",
       {},
       2},
      {"Line", "Line1", "Picture1", {},
       {{"X1", 4.0f}, {"Y1", 70.0f}, {"X2", 76.0f}, {"Y2", 10.0f},
        {"BorderWidth", std::int16_t{2}}, {"BorderColor", Colour(0x808080)}}},
      {"Image", "Image1", "", {},
       {{"Picture", BlankPicture(48, 32)}, {"Stretch", true}, {"Left", 2760.0f},
        {"Top", 3600.0f}, {"Width", 720.0f}, {"Height", 480.0f}}},
  };
  // clang-format on
  return kControls;
}

void Apply(host::Control& control, const Setting& setting) {
  try {
    if (setting.item) {
      control.CallMethod(setting.property, {Variant(*setting.item), setting.value});
    } else {
      control.SetProperty(setting.property, setting.value);
    }
  } catch (const host::RuntimeError& error) {
    throw host::RuntimeError(error.Number(),
                             control.Name() + "." + std::string(setting.property) +
                                 " refused the sample value: " + error.Description());
  }
}

constexpr const char* kSampleCustomers =
    "CREATE TABLE Customers(Name TEXT, City TEXT);"
    "INSERT INTO Customers VALUES ('Ada Lovelace', 'London'), ('Grace Hopper', 'Arlington'),"
    " ('Edsger Dijkstra', 'Nuenen'), ('Barbara Liskov', 'Boston');";
// Not the first, so that a restored Data control shows whether it moved.
constexpr std::int32_t kSampleRecord = 2;

// The database anew, so that a second run in the same folder finds the same
// records.
void MakeSampleDatabase(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  sqlite3* database = nullptr;
  int result = sqlite3_open(path.c_str(), &database);
  char* message = nullptr;
  if (result == SQLITE_OK) {
    result = sqlite3_exec(database, kSampleCustomers, nullptr, nullptr, &message);
  }
  std::string reason = message != nullptr ? message : sqlite3_errmsg(database);
  sqlite3_free(message);
  sqlite3_close(database);
  if (result != SQLITE_OK) {
    throw host::RuntimeError(host::errors::kPathFileAccessError,
                             path + ": cannot make the sample database: " + reason);
  }
}

void OpenOnSampleRecord(host::Control& data, const std::string& databasePath) {
  MakeSampleDatabase(databasePath);
  Apply(data, {"DatabaseName", databasePath});
  data.CallMethod("Refresh");
  data.GetProperty("Recordset").AsObject()->SetProperty("AbsolutePosition", kSampleRecord);
}

}  // namespace

std::shared_ptr<host::Control> ControlNamed(const host::Form& form, const std::string& name) {
  for (const auto& control : form.Controls()) {
    if (control->Name() == name) return control;
  }
  return nullptr;
}

void MapSampleDrive(const std::filesystem::path& folder) {
  for (const std::string_view file : kSampleFiles) {
    const std::filesystem::path path = folder / file;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error || !(std::ofstream(path) << file)) {
      throw host::RuntimeError(host::errors::kPathFileAccessError,
                               "cannot create the sample file " + path.string());
    }
  }
  host::MapDrive(kSampleDrive, folder.string());
}

std::shared_ptr<host::Form> BuildSampleForm() {
  auto form = host::Form::Create("OrderForm");
  for (const SampleControl& sample : SampleControls()) {
    host::ObjectRef container;
    if (!sample.container.empty()) container = ControlNamed(*form, std::string(sample.container));
    const std::shared_ptr<host::Control> control = form->AddControl(
        std::string(sample.className), std::string(sample.name), std::nullopt, container);
    for (const Setting& setting : sample.layout) Apply(*control, setting);
    if (sample.multiSelect != 0) control->SetProperty("MultiSelect", sample.multiSelect);
  }
  return form;
}

void ApplySampleState(host::Form& form, const std::string& databasePath) {
  for (const SampleControl& sample : SampleControls()) {
    const std::shared_ptr<host::Control> control = ControlNamed(form, std::string(sample.name));
    for (const std::string_view item : sample.items) {
      control->CallMethod("AddItem", {Variant(std::string(item))});
    }
    for (const Setting& setting : sample.settings) Apply(*control, setting);
    if (control->TypeName() == "Data") OpenOnSampleRecord(*control, databasePath);
    if (!sample.dataSource.empty()) {
      Apply(*control, {"DataSource", ControlNamed(form, std::string(sample.dataSource))});
    }
  }
}

}  // namespace tavorin::cli
