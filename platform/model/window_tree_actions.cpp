// The operations on windows, as standard controls answer them.

#include <algorithm>
#include <stdexcept>

#include "platform/model/window_tree.h"

namespace winscout::model {
namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsIgnoringCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() &&
         std::equal(start.begin(), start.end(), text.begin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsButtonClass(std::string_view class_name) {
  return class_name.size() == 6 && StartsIgnoringCase(class_name, "button");
}

// The low bits of a button's style say which kind it is.
constexpr std::uint32_t kButtonKindMask = 0xf;
constexpr std::uint32_t kAutoCheckBox = 0x3;
constexpr std::uint32_t kAutoThreeState = 0x6;
constexpr std::uint32_t kAutoRadioButton = 0x9;
// Both selection-change notifications have the code 1; a click's is 0.
constexpr int kSelectionChange = 1;
constexpr int kClicked = 0;

}  // namespace

const WindowSpec& WindowTree::Props(WindowHandle window) const {
  const Node* node = Find(window);
  if (!node) throw std::invalid_argument("no window " + std::to_string(window));
  return node->props;
}

void WindowTree::SetItems(WindowHandle window, ItemRows items) {
  Get(window).props.items = std::move(items);
}

WindowTree::Node* WindowTree::Answering(WindowHandle window) {
  auto it = nodes_.find(window);
  return it == nodes_.end() || it->second.props.hung ? nullptr : &it->second;
}

const WindowTree::Node* WindowTree::Answering(WindowHandle window) const {
  auto it = nodes_.find(window);
  return it == nodes_.end() || it->second.props.hung ? nullptr : &it->second;
}

bool WindowTree::SetLiveText(WindowHandle window, std::string_view text, int) {
  Node* node = Answering(window);
  if (!node) return false;
  node->props.text = text;
  return true;
}

std::optional<bool> WindowTree::ButtonChecked(WindowHandle window, int) const {
  const Node* node = Answering(window);
  if (!node) return std::nullopt;
  return node->props.checked;
}

std::optional<int> WindowTree::SelectedIndex(WindowHandle window, SelectionList,
                                             int) const {
  const Node* node = Answering(window);
  if (!node) return std::nullopt;
  return node->props.selected;
}

// The message waits in the queue of a hung thread, so it does nothing yet.
bool WindowTree::PostClick(WindowHandle window) {
  if (!Exists(window)) return false;
  Node* node = Answering(window);
  if (!node || !node->props.enabled || !IsButtonClass(node->props.class_name)) {
    return true;
  }
  switch (node->props.style & kButtonKindMask) {
    case kAutoCheckBox:
    case kAutoThreeState:
      node->props.checked = !node->props.checked;
      break;
    case kAutoRadioButton:
      node->props.checked = true;
      break;
    default:
      break;
  }
  commands_.push_back({node->parent, node->props.id, kClicked, window});
  return true;
}

// A window that does not handle WM_CLOSE itself is destroyed by it.
bool WindowTree::PostClose(WindowHandle window) {
  if (!Exists(window)) return false;
  if (Answering(window)) Destroy(window);
  return true;
}

// The messages a log or a menu offers to repeat do what they do in a
// standard window; the window hears any other and does nothing.
bool WindowTree::DeliverMessage(WindowHandle window, std::uint32_t message,
                                std::uint64_t wparam, std::int64_t lparam, bool post,
                                int) {
  constexpr std::uint32_t kClose = 0x0010, kCommand = 0x0111, kClick = 0x00F5;
  if (!Exists(window)) return false;
  // A hung window neither answers a send nor acts on a post yet.
  if (!Answering(window)) return post;
  if (message == kClose) return PostClose(window);
  if (message == kClick) return PostClick(window);
  if (message == kCommand) {
    commands_.push_back({window, static_cast<std::int32_t>(wparam & 0xFFFF),
                         static_cast<int>((wparam >> 16) & 0xFFFF),
                         static_cast<WindowHandle>(lparam)});
  }
  return true;
}

bool WindowTree::ChooseItem(WindowHandle window, ItemList list, std::string_view text,
                            int) {
  Node* node = Answering(window);
  if (!node || (list != ItemList::kComboBox && list != ItemList::kListBox)) return false;
  const ItemRows& items = node->props.items;
  const auto found =
      std::ranges::find_if(items, [&](const std::vector<std::string>& row) {
        return !row.empty() && StartsIgnoringCase(row.front(), text);
      });
  if (found == items.end()) return false;
  node->props.selected = static_cast<int>(found - items.begin());
  commands_.push_back({node->parent, node->props.id, kSelectionChange, window});
  return true;
}

bool WindowTree::SelectItem(WindowHandle window, ItemList list, std::string_view text,
                            int) {
  Node* node = Answering(window);
  if (!node || (list != ItemList::kListView && list != ItemList::kTreeView)) return false;
  const ItemRows& items = node->props.items;
  const auto found =
      std::ranges::find_if(items, [&](const std::vector<std::string>& row) {
        return !row.empty() && row.front() == text;
      });
  if (found == items.end()) return false;
  node->props.selected = static_cast<int>(found - items.begin());
  commands_.push_back({node->parent, node->props.id,
                       list == ItemList::kListView ? kRowSelected : kTreeSelectionChanged,
                       window});
  return true;
}

std::optional<ItemRows> WindowTree::Items(WindowHandle window, ItemList list,
                                          int timeout_ms) const {
  std::optional<ItemPiece> piece = ItemsFrom(window, list, 0, kMostItems, timeout_ms);
  if (!piece) return std::nullopt;
  return std::move(piece->rows);
}

std::optional<ItemPiece> WindowTree::ItemsFrom(WindowHandle window, ItemList,
                                               std::uint64_t from, std::size_t most,
                                               int) const {
  const Node* node = Answering(window);
  if (!node) return std::nullopt;
  const ItemRows& items = node->props.items;
  ItemPiece piece{.total = std::min(items.size(), kMostItems)};
  const std::size_t first = std::min<std::size_t>(from, piece.total);
  const std::size_t end = first + std::min(most, piece.total - first);
  piece.rows.assign(items.begin() + static_cast<std::ptrdiff_t>(first),
                    items.begin() + static_cast<std::ptrdiff_t>(end));
  for (auto& row : piece.rows) {
    for (std::string& text : row) text = CutToUtf16Units(text, kMostItemTextUnits);
  }
  piece.next = end < piece.total ? end : 0;
  return piece;
}

bool WindowTree::SetWindowShown(WindowHandle window, bool shown) {
  if (!Exists(window)) return false;
  SetVisible(window, shown);
  return true;
}

bool WindowTree::SetWindowEnabled(WindowHandle window, bool enabled) {
  if (!Answering(window)) return false;
  SetEnabled(window, enabled);
  return true;
}

bool WindowTree::BringToFront(WindowHandle window) {
  if (!Answering(window)) return false;
  WindowHandle top = window;
  while (Find(top)->parent != 0) top = Find(top)->parent;
  Node& node = Get(top);
  // Restored first, as a minimized window would come to the front minimized.
  constexpr std::uint32_t kMinimized = 0x20000000;  // WS_MINIMIZE
  node.props.style &= ~kMinimized;
  top_level_.erase(node.key);
  node.key.stacking = ++stacking_counter_;
  top_level_.insert(node.key);
  return true;
}

}  // namespace winscout::model
