#include "platform/model/window_tree.h"

#include <algorithm>
#include <stdexcept>

#include "platform/case_blind.h"
#include "platform/pointed_child.h"
#include "platform/unicode_text.h"

namespace winscout::model {
namespace {

// Capacities count UTF-16 units, terminator included.
std::string CutToCapacity(const std::string& text, int capacity) {
  if (capacity <= 0) return {};
  return CutToUtf16Units(text, static_cast<std::size_t>(capacity - 1));
}

// The characters of windows-1252 outside Latin-1: its bytes 80..9F, but for
// the five it leaves undefined, which map to the C1 controls of their value.
constexpr char32_t kWindows1252High[] = {
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021,
    0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008d, 0x017d, 0x008f,
    0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
    0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178};

bool InWindows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xa0 && c <= 0xff)) return true;
  return std::ranges::find(kWindows1252High, c) != std::end(kWindows1252High);
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7f) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xf];
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
}

}  // namespace

WindowTree::WindowTree(WindowHandle first_handle, WindowHandle handle_step)
    : next_handle_(first_handle), handle_step_(handle_step) {
  if (handle_step == 0) throw std::invalid_argument("handle step must not be 0");
  desktop_.props.class_name = "#32769";
}

WindowHandle WindowTree::Insert(WindowHandle parent, WindowSpec props,
                                std::int64_t stacking) {
  if (props.class_name.empty()) return 0;
  while (next_handle_ == 0 || next_handle_ == kDesktop || nodes_.contains(next_handle_)) {
    next_handle_ += handle_step_;
  }
  const WindowHandle handle = next_handle_;
  next_handle_ += handle_step_;
  Node node;
  node.props = std::move(props);
  node.parent = parent;
  node.key = ZKey{false, stacking, handle};
  SiblingsOf(parent).insert(node.key);
  nodes_.emplace(handle, std::move(node));
  return handle;
}

WindowHandle WindowTree::AddTopLevel(WindowSpec props) {
  return Insert(0, std::move(props), ++stacking_counter_);
}

WindowHandle WindowTree::AddChild(WindowHandle parent, WindowSpec props) {
  Get(parent);
  // A new child goes below its older siblings, so creation order is Z-order.
  return Insert(parent, std::move(props), -++stacking_counter_);
}

WindowHandle WindowTree::AddOwned(WindowHandle owner, WindowSpec props,
                                  OwnedStyle style) {
  while (Get(owner).parent != 0) owner = Get(owner).parent;
  const WindowHandle handle = AddTopLevel(std::move(props));
  if (handle == 0) return 0;
  Node& node = Get(handle);
  node.owner = owner;
  node.owned_style = style;
  return handle;
}

void WindowTree::Destroy(WindowHandle window) {
  const Node* node = Find(window);
  if (!node) return;
  std::vector<WindowHandle> doomed;
  for (const ZKey& child : node->children) doomed.push_back(child.handle);
  for (const auto& [handle, other] : nodes_) {
    if (other.owner == window) doomed.push_back(handle);
  }
  for (WindowHandle handle : doomed) Destroy(handle);
  SiblingsOf(node->parent).erase(node->key);
  nodes_.erase(window);
}

void WindowTree::SetText(WindowHandle window, std::string text) {
  Get(window).props.text = std::move(text);
}

void WindowTree::SetControlId(WindowHandle window, std::int32_t id) {
  Get(window).props.id = id;
}

void WindowTree::SetVisible(WindowHandle window, bool visible) {
  Get(window).props.visible = visible;
}

void WindowTree::SetEnabled(WindowHandle window, bool enabled) {
  Get(window).props.enabled = enabled;
}

void WindowTree::SetRect(WindowHandle window, ScreenRect rect) {
  Get(window).props.rect = rect;
}

bool WindowTree::IsTopmost(WindowHandle window) const {
  const Node* node = Find(window);
  return node && node->key.topmost;
}

// The top-level window first in Z-order, as WindowFromPoint finds it, then
// down through the children the user points at.
WindowHandle WindowTree::WindowAt(ScreenPoint point) const {
  for (const ZKey& key : top_level_) {
    const Node& node = nodes_.at(key.handle);
    if (node.props.visible && node.props.rect.Contains(point)) {
      return HitTest(key.handle, point);
    }
  }
  return 0;
}

// Disabled children are hit like any other: a greyed-out control is what the
// user points at. Hidden windows and their children are looked through.
WindowHandle WindowTree::HitTest(WindowHandle window, ScreenPoint point) const {
  WindowHandle best = 0;
  ChildUnderPoint best_child;
  for (const ZKey& key : nodes_.at(window).children) {
    const WindowSpec& props = nodes_.at(key.handle).props;
    if (!props.visible || !props.rect.Contains(point)) continue;
    const ScreenRect& r = props.rect;
    const ChildUnderPoint child{(props.style & kButtonKindMask) == kGroupBoxKind &&
                                    SameIgnoringCase(props.class_name, "Button"),
                                std::int64_t{r.right - r.left} * (r.bottom - r.top)};
    if (best == 0 || PointedAtRather(child, best_child)) {
      best = key.handle;
      best_child = child;
    }
  }
  return best == 0 ? window : HitTest(best, point);
}

std::string WindowTree::WindowText(WindowHandle window, int capacity) const {
  const Node* node = Find(window);
  return node ? CutToCapacity(node->props.text, capacity) : std::string();
}

std::string WindowTree::ClassName(WindowHandle window, int capacity) const {
  const Node* node = Find(window);
  return node ? CutToCapacity(node->props.class_name, capacity) : std::string();
}

WindowHandle WindowTree::Parent(WindowHandle window) const {
  const Node* node = Find(window);
  if (!node) return 0;
  if (node->parent != 0) return node->parent;
  return node->owned_style == OwnedStyle::kPopup ? node->owner : 0;
}

std::int32_t WindowTree::ControlId(WindowHandle window) const {
  const Node* node = Find(window);
  return node ? node->props.id : 0;
}

std::string WindowTree::ModulePath(WindowHandle window) const {
  const Node* node = Find(window);
  return node ? node->props.module_path : std::string();
}

WindowHandle WindowTree::FindTopLevel(std::string_view class_name) const {
  return FindChild(0, 0, class_name);
}

template <typename Pick>
WindowHandle WindowTree::NextChild(WindowHandle parent, WindowHandle after,
                                   Pick pick) const {
  const Siblings* siblings = SiblingsOf(parent);
  if (!siblings) return 0;
  auto it = siblings->begin();
  if (after != 0) {
    const Node* previous = Find(after);
    if (!previous || previous->parent != parent) return 0;
    it = std::next(siblings->find(previous->key));
  }
  for (; it != siblings->end(); ++it) {
    if (pick(nodes_.at(it->handle).props)) return it->handle;
  }
  return 0;
}

WindowHandle WindowTree::FindChild(WindowHandle parent, WindowHandle after,
                                   std::string_view class_name) const {
  return NextChild(parent, after, [&](const WindowSpec& props) {
    return class_name.empty() || SameIgnoringCase(props.class_name, class_name);
  });
}

// Titles compare without regard to case, as classes do.
WindowHandle WindowTree::FindChildWithTitle(WindowHandle parent, WindowHandle after,
                                            std::string_view class_name,
                                            std::string_view title) const {
  return NextChild(parent, after, [&](const WindowSpec& props) {
    return (class_name.empty() || SameIgnoringCase(props.class_name, class_name)) &&
           SameIgnoringCase(props.text, title);
  });
}

WindowHandle WindowTree::DialogItem(WindowHandle parent, std::int32_t id) const {
  if (parent == 0) return 0;
  return NextChild(parent, 0, [&](const WindowSpec& props) { return props.id == id; });
}

std::vector<WindowHandle> WindowTree::ChildrenOfClass(WindowHandle parent,
                                                      std::string_view class_name,
                                                      WindowHandle through) const {
  std::vector<WindowHandle> found;
  if (const Siblings* siblings = SiblingsOf(parent)) {
    for (const ZKey& key : *siblings) {
      if (SameIgnoringCase(nodes_.at(key.handle).props.class_name, class_name)) {
        found.push_back(key.handle);
      }
      if (key.handle == through) break;
    }
  }
  return found;
}

bool WindowTree::AnsiCodePageHolds(std::string_view text) const {
  return std::ranges::all_of(CodePoints(text), InWindows1252);
}

void WindowTree::MakeTopmost(WindowHandle window) {
  Node& node = Get(window);
  if (node.parent != 0) return;
  top_level_.erase(node.key);
  node.key.topmost = true;
  node.key.stacking = ++stacking_counter_;
  top_level_.insert(node.key);
}

void WindowTree::SetHung(WindowHandle window, bool hung) {
  Get(window).props.hung = hung;
}

void WindowTree::SetProcessImage(std::uint32_t process_id, std::string path) {
  process_images_[process_id] = std::move(path);
}

std::vector<TopLevelWindow> WindowTree::TopLevelWindows() const {
  std::vector<TopLevelWindow> windows;
  for (const ZKey& key : top_level_) {
    const Node& node = nodes_.at(key.handle);
    windows.push_back({key.handle, node.props.process_id});
  }
  return windows;
}

std::vector<WindowHandle> WindowTree::ChildWindows(WindowHandle parent) const {
  std::vector<WindowHandle> children;
  const Node* node = Find(parent);
  if (!node) return children;
  for (const ZKey& key : node->children) children.push_back(key.handle);
  return children;
}

// The part of the list after `after`, or from the first where `after` is not
// in it.
std::vector<WindowHandle> WindowTree::ChildWindowsAfter(WindowHandle parent,
                                                        WindowHandle after,
                                                        std::size_t most) const {
  const std::vector<WindowHandle> list = ChildWindows(parent);
  auto from = std::ranges::find(list, after);
  from = from == list.end() ? list.begin() : from + 1;
  const auto left = static_cast<std::size_t>(list.end() - from);
  return {from, from + static_cast<std::ptrdiff_t>(std::min(left, most))};
}

std::optional<WindowFacts> WindowTree::Facts(WindowHandle window) const {
  const Node* node = Find(window);
  if (!node) return std::nullopt;
  // The style bits that Windows keeps for the states the tree keeps.
  constexpr std::uint32_t kChild = 0x40000000;
  constexpr std::uint32_t kVisible = 0x10000000;
  constexpr std::uint32_t kDisabled = 0x08000000;
  constexpr std::uint32_t kTopmost = 0x00000008;
  const WindowSpec& props = node->props;
  WindowFacts facts;
  facts.class_name = props.class_name;
  facts.title = props.text;
  facts.window_rect = {props.rect.left, props.rect.top, props.rect.right,
                       props.rect.bottom};
  facts.client_rect = facts.window_rect;
  facts.style = props.style | (node->parent != 0 ? kChild : 0) |
                (props.visible ? kVisible : 0) | (props.enabled ? 0 : kDisabled);
  facts.ex_style = props.ex_style | (node->key.topmost ? kTopmost : 0);
  facts.parent = node->parent;
  facts.owner = node->owner;
  facts.process_id = props.process_id;
  facts.thread_id = props.thread_id;
  facts.visible = true;
  for (const Node* n = node; n; n = n->parent != 0 ? Find(n->parent) : nullptr) {
    facts.visible = facts.visible && n->props.visible;
  }
  facts.enabled = props.enabled;
  return facts;
}

std::string WindowTree::ProcessImagePath(std::uint32_t process_id) const {
  auto it = process_images_.find(process_id);
  return it == process_images_.end() ? std::string() : it->second;
}

std::optional<std::string> WindowTree::LiveText(WindowHandle window, int) const {
  const Node* node = Find(window);
  if (!node) return std::string();
  if (node->props.hung) return std::nullopt;
  return CutToUtf16Units(node->props.text, kMostTextUnits);
}

std::string WindowTree::Dump() const {
  std::string out =
      "cursor (" + std::to_string(cursor_.x) + ", " + std::to_string(cursor_.y) + ")\n";
  DumpLevel(top_level_, 0, out);
  return out;
}

void WindowTree::DumpLevel(const Siblings& siblings, int depth, std::string& out) const {
  for (const ZKey& key : siblings) {
    const Node& node = nodes_.at(key.handle);
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += std::to_string(key.handle) + ' ';
    AppendQuoted(out, node.props.class_name);
    out += ' ';
    AppendQuoted(out, node.props.text);
    const ScreenRect& r = node.props.rect;
    out += " id=" + std::to_string(node.props.id) + " rect=(" + std::to_string(r.left) +
           "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
    if (node.owner != 0) {
      out +=
          (node.owned_style == OwnedStyle::kPopup ? " popup owned by " : " owned by ") +
          std::to_string(node.owner);
    }
    if (key.topmost) out += " topmost";
    if (!node.props.visible) out += " hidden";
    if (!node.props.enabled) out += " disabled";
    if (node.props.hung) out += " hung";
    out += '\n';
    DumpLevel(node.children, depth + 1, out);
  }
}

const WindowTree::Node* WindowTree::Find(WindowHandle window) const {
  if (window == kDesktop) return &desktop_;
  auto it = nodes_.find(window);
  return it == nodes_.end() ? nullptr : &it->second;
}

WindowTree::Node& WindowTree::Get(WindowHandle window) {
  auto it = nodes_.find(window);
  if (it == nodes_.end()) {
    throw std::invalid_argument("no window " + std::to_string(window));
  }
  return it->second;
}

WindowTree::Siblings& WindowTree::SiblingsOf(WindowHandle parent) {
  return parent == 0 ? top_level_ : Get(parent).children;
}

const WindowTree::Siblings* WindowTree::SiblingsOf(WindowHandle parent) const {
  if (parent == 0) return &top_level_;
  const Node* node = Find(parent);
  return node ? &node->children : nullptr;
}

}  // namespace winscout::model
