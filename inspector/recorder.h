#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "codegen/script.h"
#include "platform/handler.h"
#include "platform/message_record.h"
#include "platform/message_tap.h"
#include "platform/window_system.h"

namespace winscout::inspector {

// Turns what the hook recorded of a program into the steps of a script, in
// the program's terms: each window is planned and read when its step arrives,
// while the program waits for it and the window still exists. A window is
// planned once (by its handle), and clicks of one button in a row make one
// counted step, so that a storm of them costs little.
class Recorder {
 public:
  // The window's menu bar, as MessageTap::ReadMenu reads it.
  using MenuReader = Handler<std::optional<std::vector<MenuItemInfo>>(WindowHandle)>;

  // Records the program with this process ID; its top-level windows that
  // exist now are found without waiting for them.
  Recorder(const WindowSystem& windows, std::uint32_t process_id, MenuReader read_menu);

  // The records the hook wrote since the last call, oldest first.
  void Add(const std::vector<MessageRecord>& records);
  std::size_t StepCount() const { return script_.steps.size(); }
  // Ends the recording: the box typed into last is read where it is still
  // there; the script's note says so where the program has ended.
  codegen::Script Finish();

 private:
  struct Known {
    codegen::SearchPlan plan;
    codegen::TargetKind kind = codegen::TargetKind::kOther;
    std::string name;       // as a step's words call it
    bool appeared = false;  // its top-level window came during the recording
    bool password = false;
  };
  const Known& Window(WindowHandle window);
  // "the Color box": after the label before it, else its class.
  std::string BoxName(WindowHandle window, const WindowFacts& facts) const;
  void AddStep(const MessageRecord& record);
  void AddCommand(const MessageRecord& record);
  void AddMenuCommand(const MessageRecord& record);
  void AddSystemCommand(const MessageRecord& record);
  // The box typed into, as a step that sets its text, if there is one.
  void TakeTyping();
  void Push(WindowHandle window, codegen::Action action, std::string text,
            std::string said);

  const WindowSystem& windows_;
  std::uint32_t process_id_;
  MenuReader read_menu_;
  std::set<WindowHandle> first_windows_;
  std::unordered_map<WindowHandle, Known> known_;
  std::unordered_map<WindowHandle, std::vector<MenuItemInfo>> menus_;
  WindowHandle typed_ = 0;
  WindowHandle closing_ = 0;  // closed by the user: its Cancel that follows is no step
  WindowHandle last_window_ = 0;
  int clicks_ = 0;  // of the last step, a click of `last_window_`
  codegen::Script script_;
};

}  // namespace winscout::inspector
