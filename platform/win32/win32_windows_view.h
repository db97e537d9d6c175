#pragma once

#include <windows.h>

#include <memory>

#include "platform/toolkit.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_details_list.h"
#include "platform/win32/win32_tree_view.h"
#include "platform/win32/window_class.h"

namespace winscout::win32 {

// The "Windows" window: a resizable top-level window owned by the program's
// main window, with a filter box and a "Refresh" button above the tree and,
// beside it, the details list, and a status bar below. Made hidden; closing it
// (Esc included) hides it again.
class Win32WindowsView final : public WindowsView {
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

  HWND hwnd() const { return hwnd_; }
  void Show() override;
  bool Visible() const override;
  TextBox& Filter() override { return *filter_; }
  TreeView& Tree() override { return *tree_; }
  DetailsList& Details() override { return *details_; }
  void OnRefresh(EventHandler handler) override { on_refresh_ = std::move(handler); }
  void SetStatus(std::string_view text) override;
  void CallLater(int ms, EventHandler handler) override;

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;

 private:
  HWND MakeControl(DWORD ex_style, const wchar_t* window_class, const wchar_t* text,
                   DWORD style, int id);
  void LayOut();
  void ApplyFont();
  LRESULT OnNotify(const NMHDR& header);
  void OnLater();

  UniqueModule common_controls_;
  WindowClass class_;
  HINSTANCE instance_;
  HWND filter_edit_ = nullptr;
  HWND refresh_button_ = nullptr;
  HWND tree_window_ = nullptr;
  HWND details_window_ = nullptr;
  HWND status_bar_ = nullptr;
  HWND focus_ = nullptr;  // the control with the focus, kept while inactive
  bool shown_before_ = false;
  std::unique_ptr<Win32TextBox> filter_;
  std::unique_ptr<Win32TreeView> tree_;
  std::unique_ptr<Win32DetailsList> details_;
  UniqueFont font_;
  EventHandler on_refresh_;
  EventHandler later_;
};

}  // namespace winscout::win32
