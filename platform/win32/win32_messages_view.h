#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/messages_view.h"
#include "platform/win32/owned_window.h"
#include "platform/win32/win32_controls.h"

namespace winscout::win32 {

// The "Messages" window: a row of the filter box, the switches and the
// buttons; below it the log in a list view that asks for the text of the rows
// it draws, so that a log of any length shows at once; the status line at the
// bottom.
class Win32MessagesView final : public OwnedWindow, public MessagesView {
 public:
  static constexpr wchar_t kClassName[] = L"WinScoutMessages";
  // The controls' IDs.
  static constexpr int kFilterId = 301;
  static constexpr int kAllGroupsId = 302;
  static constexpr int kChildrenId = 303;
  static constexpr int kThreadId = 304;
  static constexpr int kPauseId = 305;
  static constexpr int kClearId = 306;
  static constexpr int kCopyId = 307;
  static constexpr int kSaveId = 308;
  static constexpr int kListId = 309;
  static constexpr int kStatusId = 310;
  static constexpr UINT_PTR kTickTimer = 1;

  // Ends the program if a window cannot be made (fatal_error.h).
  Win32MessagesView(HINSTANCE instance, HWND owner, Listener& listener);
  Win32MessagesView(const Win32MessagesView&) = delete;
  Win32MessagesView& operator=(const Win32MessagesView&) = delete;
  ~Win32MessagesView() override;

  void Show(std::string_view title) override;
  TextBox& Filter() override { return *filter_; }
  bool SwitchedOn(Switch which) const override;
  void SetPaused(bool paused) override;
  void SetStatus(std::string_view text) override;
  void SetRows(std::size_t count) override;
  std::vector<std::size_t> SelectedRows() const override;
  void SetMenuChoices(std::span<const std::string_view> choices) override {
    choices_ = choices;
  }
  SaveResult Save(std::string_view name, std::string_view bytes) override;
  void SetTicking(bool on) override;

 private:
  void LayOut() override;
  void Hide() override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void ShowMenu(LPARAM position);
  LRESULT OnNotify(const NMHDR& header);
  void OnButton(int id);

  HWND filter_edit_ = nullptr;
  HWND list_ = nullptr;
  HWND status_ = nullptr;
  HWND pause_ = nullptr;
  std::unique_ptr<Win32TextBox> filter_;
  std::wstring cell_;  // the text of the cell the list asked for last
  Listener& listener_;
  std::span<const std::string_view> choices_;
};

}  // namespace winscout::win32
