#include "inspector/try_it.h"

#include <variant>

#include "inspector/item_reading.h"

namespace winscout::inspector {
namespace {

using codegen::Action;
using codegen::ItemListOf;
using codegen::kAnswerTimeoutMs;

// Said after a text that goes on past what WinScout reads.
constexpr char kTextCut[] = "\r\n(cut: WinScout reads 131072 characters at most)";

}  // namespace

ActionOutcome PerformAction(const codegen::ActionPlan& plan, WindowHandle target,
                            WindowSystem& windows) {
  const ActionOutcome no_answer{false, "The window did not answer."};
  switch (plan.action) {
    case Action::kFindOnly:
      return {true, "Found."};
    case Action::kReadText: {
      std::optional<std::string> text = windows.LiveText(target, kAnswerTimeoutMs);
      if (!text) return no_answer;
      // A window that is gone gives an empty text too.
      if (text->empty() && !windows.Facts(target)) return {false, "The window is gone."};
      if (ReachesTextLimit(*text)) *text += kTextCut;
      return {true, std::move(*text)};
    }
    case Action::kClose:
      if (!windows.PostClose(target)) return {false, "The window is gone."};
      return {true, "Asked to close."};
    case Action::kClick:
      if (!windows.PostClick(target)) return {false, "The window is gone."};
      return {true, "Clicked."};
    case Action::kCheck:
    case Action::kUncheck: {
      const bool want = plan.action == Action::kCheck;
      const std::optional<bool> checked = windows.ButtonChecked(target, kAnswerTimeoutMs);
      if (!checked) return no_answer;
      if (*checked == want)
        return {true, want ? "Checked already." : "Unchecked already."};
      if (!windows.PostClick(target)) return {false, "The window is gone."};
      return {true, want ? "Checked." : "Unchecked."};
    }
    case Action::kSetText:
      if (!windows.SetLiveText(target, plan.text, kAnswerTimeoutMs)) return no_answer;
      return {true, "Text set."};
    case Action::kChooseItem: {
      const std::optional<ItemList> list = ItemListOf(plan.kind);
      if (!list || !windows.ChooseItem(target, *list, plan.text, kAnswerTimeoutMs)) {
        return {false, "No item begins with \"" + plan.text +
                           "\", or the window did not answer."};
      }
      return {true, "Chosen."};
    }
    case Action::kSelectItem: {
      const std::optional<ItemList> list = ItemListOf(plan.kind);
      if (!list || !windows.SelectItem(target, *list, plan.text, kAnswerTimeoutMs)) {
        return {false, "No item is \"" + plan.text + "\", or the window did not answer."};
      }
      return {true, "Selected."};
    }
    case Action::kReadItems: {
      const std::optional<ItemList> list = ItemListOf(plan.kind);
      if (!list) return {false, "The window keeps no items."};
      ItemReading reading(windows, target, *list, kAnswerTimeoutMs);
      while (reading.ReadPiece(kMostItems)) {
      }
      return reading.Outcome();
    }
  }
  return {false, {}};
}

ActionOutcome PerformSend(const codegen::MessageToSend& message, WindowHandle target,
                          WindowSystem& windows) {
  bool done = false;
  const auto* text = std::get_if<std::string>(&message.lparam);
  if (text) {
    done = windows.SetLiveText(target, *text, kAnswerTimeoutMs);
  } else {
    const auto* child = std::get_if<codegen::ChildWithId>(&message.lparam);
    const std::int64_t lparam =
        child ? static_cast<std::int64_t>(windows.DialogItem(target, child->id))
              : std::get<std::int64_t>(message.lparam);
    done = windows.DeliverMessage(target, message.message, message.wparam, lparam,
                                  message.post, kAnswerTimeoutMs);
  }
  if (!done) return {false, "The window is gone or did not answer."};
  return {true, message.post && !text ? "Posted." : "Sent."};
}

}  // namespace winscout::inspector
