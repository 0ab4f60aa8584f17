// The About window: the component's title and version, closed with OK.
#include <tavorin/component.h>

#include <iostream>
#include <string>

#include <tavorin/host/site.h>

namespace tavorin {
namespace {

constexpr const char* kAboutCaption = "About Tavorin";
constexpr const char* kTitle = "Tavorin";
constexpr const char* kOkButton = "OK";
constexpr int kMajorVersion = 1;
constexpr int kMinorVersion = 0;

std::string VersionLine() {
  return "Version " + std::to_string(kMajorVersion) + "." + std::to_string(kMinorVersion);
}

}  // namespace

void Tavorin::ShowAboutBox() {
  host::Window about(kAboutCaption, {kTitle, VersionLine()}, {kOkButton});
  if (site_ != nullptr) {
    site_->ShowModal(about);
    return;
  }
  std::cout << about.Caption() << '\n';
  for (const std::string& line : about.Lines()) std::cout << line << '\n';
}

}  // namespace tavorin
