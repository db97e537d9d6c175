#pragma once

#include <cstdint>
#include <forward_list>
#include <optional>
#include <string>
#include <string_view>

#include "app/main_window.h"
#include "app/windows_window.h"
#include "inspector/known_windows.h"
#include "inspector/message_log.h"
#include "inspector/message_names.h"
#include "platform/key_index.h"
#include "platform/message_tap.h"
#include "platform/messages_view.h"
#include "platform/toolkit.h"
#include "platform/window_system.h"

namespace winscout::app {

// The behaviour of the "Messages" window: it logs the messages of one window
// (optionally its children, or its whole thread) through the message tap,
// names and decodes them as they arrive, and filters, pauses, clears, copies
// and saves the log. The log runs while the window is shown.
class MessagesWindow final : private MessagesView::Listener {
 public:
  static constexpr int kOpenKey = 3;  // F3
  static constexpr char kMenuText[] = "&Messages...\tF3";
  static constexpr char kTreeMenuText[] = "&Messages...";
  // The list's context menu, by place.
  static constexpr std::string_view kMenuChoices[] = {"&Copy",
                                                      "&Write code that sends it"};
  static constexpr std::size_t kCopyLines = 0;
  static constexpr std::size_t kWriteCode = 1;

  MessagesWindow(Handler<MessagesView&(MessagesView::Listener&)> make_view, Form& form,
                 const WindowSystem& windows, MessageTap& tap, MainWindow& main,
                 WindowsWindow& windows_window, Clipboard& clipboard,
                 ModalMessageBox& messages);
  MessagesWindow(const MessagesWindow&) = delete;
  MessagesWindow& operator=(const MessagesWindow&) = delete;

  // Shows the window and starts logging the window's messages; says why not
  // where that cannot be.
  void Open(WindowHandle window);

 private:
  void OnSwitch() override;
  void OnCommand(MessagesView::Command command) override;
  std::string RowText(std::size_t row, std::size_t column) override;
  void OnMenuChoice(std::size_t choice) override;
  void OnTick() override;
  void OnClose() override { Stop(); }
  void ApplyFilter();
  void ShowLines();
  void Stop();
  // Kept out of the tick handler, which would otherwise carry a copy of each.
  [[gnu::noinline]] bool InScope(std::int64_t window);
  [[gnu::noinline]] inspector::KnownWindows::Window& Known(std::int64_t window);
  [[gnu::noinline]] inspector::LoggedMessage Decode(const MessageRecord& record);
  std::vector<const inspector::LoggedMessage*> SelectedLines() const;
  void WriteCode();

  Handler<MessagesView&(MessagesView::Listener&)> make_view_;
  MessagesView* view_ = nullptr;
  const WindowSystem& windows_;
  MessageTap& tap_;
  Clipboard& clipboard_;
  ModalMessageBox& messages_;
  MainWindow& main_;
  inspector::MessageNames names_;
  inspector::MessageLog log_;
  std::vector<MessageRecord> arrived_;
  WindowHandle target_ = 0;
  std::int64_t started_ = 0;
  bool running_ = false;
  bool paused_ = false;
  bool fault_ = false;  // the log stopped as its memory was tampered with
  inspector::KnownWindows known_;
  // Registered messages' names, found by the address kept under the message.
  std::forward_list<std::string> registered_;
  KeyIndex registered_at_;
};

}  // namespace winscout::app
