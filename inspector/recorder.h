#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
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
  // Reads the box typed into, where typing came since the last reads, so
  // that its text stays when the program ends before the box is left.
  void ReadTyping();
  // None of the program's top-level windows is left.
  bool ProgramEnded() const;
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
  // Few windows take part in a recording: lists cost less code than maps.
  std::vector<WindowHandle> first_windows_;
  std::vector<std::pair<WindowHandle, Known>> known_;
  WindowHandle typed_ = 0;
  std::optional<std::string> typed_text_;  // as ReadTyping read it last
  // The reads after new typing: two, as a character's record comes before
  // the box holds it.
  int reads_due_ = 0;
  std::string unread_;        // the boxes whose typing could not be read, for the note
  WindowHandle closing_ = 0;  // closed by the user: its Cancel that follows is no step
  WindowHandle last_window_ = 0;
  int clicks_ = 0;  // of the last step, a click of `last_window_`
  codegen::Script script_;
};

}  // namespace winscout::inspector
