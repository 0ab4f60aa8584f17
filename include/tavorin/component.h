// Tavorin: the component an application places on a form to copy, save and
// restore the state of the form's standard controls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <tavorin/errors.h>
#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

namespace tavorin {

namespace host {
class Site;
}

namespace detail {
struct ComponentSettings;
}

/// Which graphic of a PictureBox copies and writes take. Any value other
/// than TvPicture behaves as TvImage.
enum PictureOrImageConstants : std::int16_t { TvPicture = 0, TvImage = 1 };

/// Copies controls, writes them into streams (byte arrays that store only what
/// differs from the defaults) and applies streams to controls. The component's
/// errors are host::RuntimeError numbered 700 to 706 (ComponentError, in
/// tavorin/errors.h) with help file "tavorn.hlp"; the queries never raise,
/// whatever the bytes.
class Tavorin {
 public:
  /// A component with every setting at its default and no site.
  Tavorin();

  /// Copies every property the component handles from `SourceControl` onto
  /// `DestinationControl`, a control of the same class. A Nothing destination
  /// does nothing; a Nothing source sets the destination variable to Nothing.
  /// Raises 700 (not a control), 701 (classes differ), 702 (unsupported class).
  void CopyControl(host::ObjectRef& SourceControl, host::ObjectRef& DestinationControl);

  /// The stream of `SourceControl` (the Nothing stream for Nothing), written
  /// against `CustomDefaultsStream` when one is given. Raises 700, 702, 704
  /// (defaults of another class) and 706 (defaults that are no stream).
  host::ByteArray ControlToStream(
      const host::ObjectRef& SourceControl,
      const host::Variant& CustomDefaultsStream = host::Variant::Missing());

  /// Applies `Stream` to `DestinationControl`. An empty stream or a Nothing
  /// destination does nothing; a Nothing stream sets the destination variable
  /// to Nothing. Raises 700, 703 (no stream), 704 (another class), 705 (the
  /// stream needs custom defaults) and 706 (defaults that are no stream or
  /// carry custom defaults themselves).
  void StreamToControl(const host::ByteArray& Stream, host::ObjectRef& DestinationControl,
                       const host::Variant& CustomDefaultsStream = host::Variant::Missing());

  /// Whether a class name, in any case and with surrounding spaces, is one the
  /// component handles ("Nothing" included).
  bool IsSupportedControl(std::string ControlTypeName) const;

  /// Whether the bytes are a stream the component wrote.
  bool IsStream(const host::ByteArray& ByteArray) const;
  /// The class name the stream holds: "Nothing" for the Nothing stream, ""
  /// for bytes that are no stream or name no known class.
  std::string ControlTypeName(const host::ByteArray& Stream) const;
  /// The control name the stream holds; "" when it holds none or is no stream.
  std::string ControlName(const host::ByteArray& Stream) const;
  /// Whether the stream was written against custom defaults and so can only
  /// be read with them.
  bool RequiresDefaultsStream(const host::ByteArray& Stream) const;

  /// Replaces the file at `FilePath` (a native path) by exactly the stream's
  /// bytes, all or nothing; an empty stream touches nothing. Raises the host's
  /// file errors: 76 missing folder, 75 a folder at the path, 70 a read-only
  /// file, 61 disk full.
  void StreamToFile(const host::ByteArray& Stream, const std::string& FilePath) const;
  /// The bytes of the file at `FilePath`. Raises 53 no such file, 76 missing
  /// folder, 75 a folder at the path, 70 not readable, 7 above 1 GiB.
  host::ByteArray StreamFromFile(const std::string& FilePath) const;

  /// Shows the About window modally through the site's ShowModal and releases
  /// it when it closes; without a site, writes its caption, title and version
  /// line to standard output.
  void ShowAboutBox();

  /// Whether the destination is placed in the source's container. Default false.
  bool SetContainer() const;
  void SetContainer(bool value);
  /// Whether the tab index is carried over. Default false.
  bool SetTabIndex() const;
  void SetTabIndex(bool value);
  /// Whether position and size are converted between scale modes. Default true.
  bool SizeAccommodation() const;
  void SizeAccommodation(bool value);
  /// Whether written streams carry the control's name. Default true.
  bool WriteControlName() const;
  void WriteControlName(bool value);
  /// Picture or Image of a PictureBox. Default TvPicture. Raises 6 for a value
  /// outside -32768 to 32767 and keeps the setting then.
  PictureOrImageConstants PictureOrImage() const;
  void PictureOrImage(std::int32_t value);
  // Every setter above tells the site that the setting changed, by its name
  // ("SetContainer", ...), so that the designer saves the form again.

  /// The component was placed on a form: every setting takes its default.
  /// The site is not told.
  void InitProperties();
  /// Loads the settings saved with the form (SetContainer, SetTabIndex,
  /// PictureOrImage, SizeAccommodation, WriteControlName, each under its own
  /// name; an absent key gives the default). All or nothing: a value that does
  /// not convert raises the host's conversion error and changes no setting.
  void ReadProperties(host::PropertyBag& bag);
  /// Saves the settings in the same order, each against its default, so only
  /// those that differ from their defaults are stored.
  void WriteProperties(host::PropertyBag& bag) const;
  /// The host side: told of every setting change, shows the About window.
  /// Nothing (the default) notifies nobody.
  void SetSite(std::shared_ptr<host::Site> site);

  /// The side of the component's square surface on a form, in twips (32
  /// pixels at 15 twips per pixel).
  static constexpr float kSurfaceTwips = 480.0F;
  /// The host resized the surface: it keeps its fixed size all the same.
  void Resize(float width, float height);
  /// The surface's width and height in twips: always kSurfaceTwips.
  float ExtentX() const;
  float ExtentY() const;

 private:
  /// The settings as the property sets read them during one call.
  detail::ComponentSettings Settings() const;
  void AdoptSettings(const detail::ComponentSettings& settings);
  void NotifyChanged(const char* settingName) const;

  bool set_container_;
  bool set_tab_index_;
  bool size_accommodation_;
  bool write_control_name_;
  std::int16_t picture_or_image_;
  std::shared_ptr<host::Site> site_;
};

}  // namespace tavorin
