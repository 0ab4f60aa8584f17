// Site: what the form designer offers a component placed on a form, and the
// small modal window the component shows through it.
#pragma once

#include <string>
#include <vector>

namespace tavorin::host {

/// A modal window of text lines and buttons. The first button is its OK
/// button. It opens when made and closes when a button is clicked.
class Window {
 public:
  /// Raises 5 when `buttons` is empty: a modal window needs a way out.
  Window(std::string caption, std::vector<std::string> lines, std::vector<std::string> buttons);

  const std::string& Caption() const { return caption_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  const std::vector<std::string>& Buttons() const { return buttons_; }
  const std::string& OkButton() const { return buttons_.front(); }

  bool IsOpen() const { return open_; }
  /// Closes the window with `button`. Raises 5 for a button it does not
  /// have or when it is already closed.
  void Click(const std::string& button);
  /// The button that closed the window; "" while it is open.
  const std::string& ClickedButton() const { return clicked_; }

 private:
  std::string caption_;
  std::vector<std::string> lines_;
  std::vector<std::string> buttons_;
  std::string clicked_;
  bool open_ = true;
};

/// The host side of a component. An application overrides what it needs.
class Site {
 public:
  virtual ~Site() = default;

  /// Called after the component changed the design-time property `name`.
  virtual void PropertyChanged(const std::string& name);
  /// Shows `window` until it is closed. By default it closes the window at
  /// once with its OK button.
  virtual void ShowModal(Window& window);
};

}  // namespace tavorin::host
