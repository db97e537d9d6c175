#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "platform/toolkit.h"

namespace winscout::win32 {

// A common-controls list view in report mode with two columns, name and value;
// the parent passes on its notifications.
class Win32DetailsList final : public DetailsList {
 public:
  explicit Win32DetailsList(HWND list);

  void SetLines(std::vector<std::pair<std::string, std::string>> lines) override;
  std::optional<std::size_t> SelectedLine() const override;
  void OnCopy(EventHandler handler) override { on_copy_ = std::move(handler); }

  LRESULT OnNotify(const NMHDR& header);
  // Column widths for the window's DPI.
  void SetDpi(UINT dpi);

 private:
  HWND list_;
  EventHandler on_copy_;
};

// The system clipboard, opened for the owner window.
class Win32Clipboard final : public Clipboard {
 public:
  explicit Win32Clipboard(HWND owner) : owner_(owner) {}
  bool SetText(std::string_view text) override;

 private:
  HWND owner_;
};

}  // namespace winscout::win32
