#pragma once

#include <windows.h>

#include <memory>

#include "platform/toolkit.h"
#include "platform/win32/owned_window.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_details_list.h"
#include "platform/win32/win32_tree_view.h"

namespace winscout::win32 {

// The "Windows" window: a filter box and a "Refresh" button above the tree
// and, beside it, the details list, and a status bar below.
class Win32WindowsView final : public OwnedWindow, public WindowsView {
 public:
  static constexpr wchar_t kClassName[] = L"WinScoutWindows";
  // The controls' IDs.
  static constexpr int kFilterId = 201;
  static constexpr int kRefreshId = 202;
  static constexpr int kTreeId = 203;
  static constexpr int kDetailsId = 204;
  static constexpr int kStatusId = 205;
  static constexpr UINT_PTR kLaterTimerId = 1;

  // A window that cannot be made ends the program with the error.
  Win32WindowsView(HINSTANCE instance, HWND owner);
  Win32WindowsView(const Win32WindowsView&) = delete;
  Win32WindowsView& operator=(const Win32WindowsView&) = delete;
  ~Win32WindowsView() override;

  void Show() override { ShowFocused(focus_); }
  bool Visible() const override { return IsShown(); }
  TextBox& Filter() override { return *filter_; }
  TreeView& Tree() override { return *tree_; }
  DetailsList& Details() override { return *details_; }
  void OnRefresh(EventHandler handler) override { on_refresh_ = std::move(handler); }
  void SetStatus(std::string_view text) override;
  void CallLater(int ms, EventHandler handler) override;
  SaveResult SaveJson(std::string_view name, std::string_view bytes) override;

 private:
  void LayOut() override;
  void ApplyFont() override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  LRESULT OnNotify(const NMHDR& header);
  void OnLater();

  HWND filter_edit_ = nullptr;
  HWND refresh_button_ = nullptr;
  HWND tree_window_ = nullptr;
  HWND details_window_ = nullptr;
  HWND status_bar_ = nullptr;
  HWND focus_ = nullptr;  // the control with the focus, kept while inactive
  std::unique_ptr<Win32TextBox> filter_;
  std::unique_ptr<Win32TreeView> tree_;
  std::unique_ptr<Win32DetailsList> details_;
  EventHandler on_refresh_;
  EventHandler later_;
};

}  // namespace winscout::win32
