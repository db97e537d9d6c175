#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/handler.h"
#include "platform/message_record.h"
#include "platform/window_system.h"

namespace winscout {

// An item of a window's menu, as read from the menu itself.
struct MenuItemInfo {
  int depth = 0;  // 0: the menu bar
  std::uint32_t id = 0;
  std::string text;
  bool separator = false;
  bool grayed = false;
  bool checked = false;
  bool submenu = false;
  bool owner_drawn = false;
  bool text_cut = false;  // `text` is the start of a longer one
  // Not an item but a note, last: how many items the read left out.
  std::uint32_t left_out = 0;
  friend bool operator==(const MenuItemInfo&, const MenuItemInfo&) = default;
};

// The messages of another program's thread, as the hook copies them, and its
// menus. Only one log or recording runs at a time.
class MessageTap {
 public:
  virtual ~MessageTap() = default;
  // Starts logging the thread that owns the window; nothing when it runs, else
  // why it cannot, in a sentence for the user.
  virtual std::optional<std::string> Start(WindowHandle window) = 0;
  // Starts recording the thread that owns the window: only what the user does
  // there is written (see MessageRecord::kStep), and at each step `on_step`
  // is called while the program waits, so that its windows are read as they
  // are; the records are then there to take. The error as Start gives it.
  virtual std::optional<std::string> StartRecording(WindowHandle window,
                                                    EventHandler on_step) = 0;
  // Stops the log or the recording; the hook lets go of the target.
  virtual void Stop() = 0;
  // Appends the records that arrived since the last call; returns how many
  // the hook had to drop meanwhile, as WinScout did not keep up. Nothing
  // where the log's shared memory was changed by another program: the log
  // cannot go on.
  virtual std::optional<std::uint64_t> Take(std::vector<MessageRecord>& records) = 0;
  // The records' clock.
  virtual std::int64_t Now() const = 0;
  virtual std::int64_t TicksPerSecond() const = 0;
  // The name a registered message was registered with; empty if none.
  virtual std::string RegisteredName(std::uint32_t message) const = 0;
  // Whether the window has a menu bar, asked without a message.
  virtual bool HasMenuBar(WindowHandle window) const = 0;
  // The menu bar of a top-level window with its submenus, depth first, read
  // directly where the system allows and from inside its program otherwise;
  // nothing if the window has no menu bar or it cannot be read.
  virtual std::optional<std::vector<MenuItemInfo>> ReadMenu(WindowHandle window) = 0;
};

}  // namespace winscout
