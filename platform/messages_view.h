#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit.h"

namespace winscout {

// The window that shows a message log: a filter box, switches, buttons, a
// status line, and the lines in a list that asks for the text of the rows it
// shows. Closing it hides it.
class MessagesView {
 public:
  enum class Switch { kAllGroups, kChildren, kThread };
  enum class Command { kPause, kClear, kCopy, kSave };

  // What the window reports, to the one that made it.
  class Listener {
   public:
    virtual void OnSwitch() = 0;
    virtual void OnCommand(Command command) = 0;
    // The text of a cell the list is about to draw.
    virtual std::string RowText(std::size_t row, std::size_t column) = 0;
    // One of the context menu's choices (SetMenuChoices), by its place.
    virtual void OnMenuChoice(std::size_t choice) = 0;
    virtual void OnTick() = 0;
    // The window was closed.
    virtual void OnClose() = 0;

   protected:
    ~Listener() = default;
  };

  virtual ~MessagesView() = default;
  virtual void Show(std::string_view title) = 0;
  virtual TextBox& Filter() = 0;
  virtual bool SwitchedOn(Switch which) const = 0;
  virtual void SetPaused(bool paused) = 0;
  virtual void SetStatus(std::string_view text) = 0;
  // The list holds `count` rows; the last one is scrolled to unless a row is
  // selected.
  virtual void SetRows(std::size_t count) = 0;
  virtual std::vector<std::size_t> SelectedRows() const = 0;
  // The list's context menu, for the selected rows; the texts stay where they
  // are while the window lives.
  virtual void SetMenuChoices(std::span<const std::string_view> choices) = 0;
  // Asks where to save, offering `name`, and writes the bytes there.
  virtual SaveResult Save(std::string_view name, std::string_view bytes) = 0;
  // Ticks while logging, a few times a second.
  virtual void SetTicking(bool on) = 0;
};

}  // namespace winscout
