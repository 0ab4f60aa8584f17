// The runtime's control classes (the list controls are in lists.h). Each
// class has the TypeName of its own name; forms create them (Form::AddControl).
// A class's ordinary properties are reached by name; the typed members here
// serve what a class needs specially.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <tavorin/host/control.h>

namespace tavorin::host {

class Picture;
class Recordset;
using PictureRef = std::shared_ptr<Picture>;

namespace detail {
struct TextSelection;
struct DataConnection;
}  // namespace detail

/// A container with a persistent graphic. By name besides the catalogued
/// properties: "Picture", "Image" (read-only), "ScaleMode" (0 to 7) and the
/// method "PaintPicture" (one picture).
class PictureBox final : public Control {
 public:
  explicit PictureBox(const ControlSeed& seed);

  PictureRef Picture() const { return picture_; }
  /// Makes `picture` (or Nothing) the picture and resets the graphic to it.
  void Picture(PictureRef picture);
  /// A new picture of the graphic: a blank bitmap of the box's size (15 twips
  /// to a pixel) when nothing was drawn.
  PictureRef Image() const;
  /// Draws `picture` onto the graphic at its top left corner; 91 for Nothing.
  void PaintPicture(const PictureRef& picture);

  /// The scale mode of the box's own coordinates (default 1, twips).
  std::int16_t ScaleMode() const;
  void ScaleMode(std::int16_t mode);

 private:
  PictureRef picture_;
  PictureRef graphic_;  // nullptr: nothing drawn
};

class Label final : public Control {
 public:
  explicit Label(const ControlSeed& seed);
};

/// Text with a selection, as a TextBox and a ComboBox edit it. SelStart
/// beyond the text is set to the text's end and makes the selection a caret;
/// SelLength is cut to the text that follows SelStart, as the runtime does;
/// negative values raise 380. Assigning Text puts the caret at 0 with nothing
/// selected. Positions and lengths count characters, not bytes.
class EditText {
 public:
  virtual ~EditText();

  const std::string& Text() const;
  virtual void Text(std::string text);
  std::int32_t SelStart() const;
  void SelStart(std::int32_t start);
  std::int32_t SelLength() const;
  void SelLength(std::int32_t length);
  /// The selected text; assigning replaces it and leaves the caret after it.
  std::string SelText() const;
  void SelText(const std::string& text);

 protected:
  EditText();

 private:
  std::unique_ptr<detail::TextSelection> edit_;
};

class TextBox final : public Control, public EditText {
 public:
  explicit TextBox(const ControlSeed& seed);
};

/// A container that draws a border and a caption around its controls.
class Frame final : public Control {
 public:
  explicit Frame(const ControlSeed& seed);
};

/// The three pictures of a graphical button (CommandButton, CheckBox,
/// OptionButton); each is Nothing or a Picture.
class GraphicalButton : public Control {
 public:
  PictureRef Picture() const;
  void Picture(const PictureRef& picture);
  PictureRef DownPicture() const;
  void DownPicture(const PictureRef& picture);
  PictureRef DisabledPicture() const;
  void DisabledPicture(const PictureRef& picture);

 protected:
  using Control::Control;
};

class CommandButton final : public GraphicalButton {
 public:
  explicit CommandButton(const ControlSeed& seed);
};

/// Value 0 (unchecked), 1 (checked) or 2 (grayed).
class CheckBox final : public GraphicalButton {
 public:
  explicit CheckBox(const ControlSeed& seed);
  std::int16_t Value() const;
  void Value(std::int16_t value);
};

/// Setting Value to True clears the Value of the other option buttons in the
/// same container, as the runtime groups them.
class OptionButton final : public GraphicalButton {
 public:
  explicit OptionButton(const ControlSeed& seed);
  bool Value() const { return value_; }
  void Value(bool value);

 private:
  bool value_ = false;
};

/// Min and Max may come in either order; Value must lie between them (380
/// otherwise) and follows them when they move past it. SmallChange and
/// LargeChange are 1 to 32,767.
class ScrollBar : public Control {
 public:
  std::int16_t Value() const { return value_; }
  void Value(std::int16_t value);
  std::int16_t Min() const { return min_; }
  void Min(std::int16_t min);
  std::int16_t Max() const { return max_; }
  void Max(std::int16_t max);
  std::int16_t SmallChange() const;
  void SmallChange(std::int16_t change);
  std::int16_t LargeChange() const;
  void LargeChange(std::int16_t change);

 protected:
  ScrollBar(const ControlSeed& seed, const char* className);

 private:
  void ClampValue();

  std::int16_t value_ = 0, min_ = 0, max_ = 0;
};

class HScrollBar final : public ScrollBar {
 public:
  explicit HScrollBar(const ControlSeed& seed);
};

class VScrollBar final : public ScrollBar {
 public:
  explicit VScrollBar(const ControlSeed& seed);
};

/// Interval 0 to 65,535 milliseconds. The host keeps no clock: a timer only
/// holds its settings.
class Timer final : public Control {
 public:
  explicit Timer(const ControlSeed& seed);
  std::int32_t Interval() const;
  void Interval(std::int32_t milliseconds);
  bool Enabled() const;
  void Enabled(bool enabled);
};

class Shape final : public Control {
 public:
  explicit Shape(const ControlSeed& seed);
};

/// A line between (X1, Y1) and (X2, Y2) in its container's units; it has no
/// Left, Top, Width or Height.
class Line final : public Control {
 public:
  explicit Line(const ControlSeed& seed);
  float X1() const;
  void X1(float value);
  float Y1() const;
  void Y1(float value);
  float X2() const;
  void X2(float value);
  float Y2() const;
  void Y2(float value);

 private:
  float Coordinate(const char* name) const;
};

class Image final : public Control {
 public:
  explicit Image(const ControlSeed& seed);
  PictureRef Picture() const;
  void Picture(const PictureRef& picture);
};

/// A data control over an SQLite database: DatabaseName is the database
/// file's path, RecordSource a table name or a SELECT statement, Connect is
/// kept but not read. Refresh builds the Recordset (Nothing before); controls
/// bound to this one show the current record's field and follow it.
class Data final : public Control {
 public:
  explicit Data(const ControlSeed& seed);
  ~Data() override;

  std::shared_ptr<host::Recordset> Recordset() const;
  /// Opens DatabaseName read-only and reads RecordSource, within the
  /// RecordsetLimits in force (see recordset.h). Raises 3024 for a missing
  /// file and 3078 for a source that does not run or exceeds a limit; the old
  /// recordset stays then.
  void Refresh();

 private:
  std::unique_ptr<detail::DataConnection> connection_;
};

}  // namespace tavorin::host
