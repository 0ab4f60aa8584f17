#include <tavorin/host/site.h>

#include <algorithm>

#include <tavorin/host/error.h>

namespace tavorin::host {

Window::Window(std::string caption, std::vector<std::string> lines,
               std::vector<std::string> buttons)
    : caption_(std::move(caption)), lines_(std::move(lines)), buttons_(std::move(buttons)) {
  if (buttons_.empty()) RaiseHostError(errors::kInvalidProcedureCall);
}

void Window::Click(const std::string& button) {
  if (!IsOpen() || std::find(buttons_.begin(), buttons_.end(), button) == buttons_.end()) {
    RaiseHostError(errors::kInvalidProcedureCall);
  }
  clicked_ = button;
  open_ = false;
}

void Site::PropertyChanged(const std::string&) {}

void Site::ShowModal(Window& window) { window.Click(window.OkButton()); }

}  // namespace tavorin::host
