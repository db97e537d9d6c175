#include "inspector/desktop_tree.h"

#include <algorithm>
#include <cctype>

#include "inspector/window_details.h"
#include "platform/number_text.h"
#include "platform/text_pieces.h"

namespace winscout::inspector {
namespace {

constexpr TreeItemKey kProcessBit = TreeItemKey{1} << 32;

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A filter that reads as a handle in decimal or in hex (with or without 0x).
bool NamesHandle(std::string_view filter, WindowHandle window) {
  const bool negative = filter.starts_with('-');
  const std::optional<std::int64_t> decimal =
      ParseNumber(negative ? filter.substr(1) : filter, 10);
  if (decimal && (negative ? -*decimal : *decimal) == window) return true;
  if (filter.starts_with("0x") || filter.starts_with("0X")) filter.remove_prefix(2);
  const std::optional<std::int64_t> hex = ParseNumber(filter, 16);
  return hex && *hex == static_cast<std::uint32_t>(window);
}

}  // namespace

TreeItemKey ProcessKey(std::uint32_t process_id) { return kProcessBit | process_id; }

TreeItemKey WindowKey(WindowHandle window) { return static_cast<std::uint32_t>(window); }

std::optional<WindowHandle> WindowOfKey(TreeItemKey key) {
  // Processes, and the other items other branches add (menus), use the bits above.
  if (key >> 32) return std::nullopt;
  return static_cast<WindowHandle>(static_cast<std::uint32_t>(key));
}

void DesktopTree::Reload() {
  processes_.clear();
  process_of_.Clear();
  process_index_.Clear();
  owned_.clear();
  owned_at_.Clear();
  owner_in_tree_.Clear();
  seen_.clear();
  seen_at_.Clear();
  kept_.Clear();
  leads_.Clear();
  tops_.clear();
  next_top_ = 0;
  pending_.clear();
  for (const TopLevelWindow& top : windows_.TopLevelWindows()) {
    if (tops_.size() >= kMostItems) break;
    process_of_.Put(static_cast<std::uint32_t>(top.window), top.process_id);
    tops_.push_back(top.window);
    const std::size_t at = process_index_.Put(top.process_id, processes_.size());
    if (at == processes_.size()) {
      processes_.push_back({top.process_id,
                            FileName(memo_ ? memo_->ImagePath(top.process_id)
                                           : windows_.ProcessImagePath(top.process_id)),
                            {},
                            {}});
    }
    processes_[at].tops.push_back(top.window);
  }
}

void DesktopTree::SetFilter(std::string filter) {
  filter_ = Lower(filter);
  kept_.Clear();
  leads_.Clear();
}

bool DesktopTree::ReadNext() {
  if (next_top_ < tops_.size()) {
    const Seen* seen = Found(tops_[next_top_]);
    const bool fresh = !seen || seen->more_children;
    if (!ReadPiece(tops_[next_top_])) {
      read_more_ = true;
      return true;
    }
    if (++next_top_ == tops_.size()) {
      for (auto top = tops_.rbegin(); top != tops_.rend(); ++top) {
        Push(Look(*top).children);
      }
      SkipRead();
    }
    read_more_ = read_more_ || fresh;
    return true;
  }
  if (pending_.empty()) return false;
  const WindowHandle window = pending_.back();
  read_more_ = true;
  if (!ReadPiece(window)) return true;
  pending_.pop_back();
  Push(Look(window).children);
  SkipRead();
  read_more_ = true;
  return true;
}

// Last first, so that the first comes out first.
void DesktopTree::Push(const std::vector<WindowHandle>& windows) {
  for (auto window = windows.rbegin(); window != windows.rend(); ++window)
    pending_.push_back(*window);
}

void DesktopTree::SkipRead() {
  for (const Seen* seen;
       !pending_.empty() && (seen = Found(pending_.back())) && !seen->more_children;) {
    pending_.pop_back();
    Push(seen->children);
  }
}

void DesktopTree::Settle() const {
  if (!read_more_) return;
  read_more_ = false;
  kept_.Clear();
  leads_.Clear();
}

std::size_t DesktopTree::MatchCount() const {
  return static_cast<std::size_t>(std::ranges::count_if(
      seen_, [this](const Seen& seen) { return Matches(seen.window); }));
}

DesktopTree::Seen* DesktopTree::Found(WindowHandle window) const {
  const std::uint64_t* at = seen_at_.Find(static_cast<std::uint32_t>(window));
  return at ? reinterpret_cast<Seen*>(*at) : nullptr;
}

const DesktopTree::Seen& DesktopTree::Look(WindowHandle window) const {
  if (Seen* seen = Found(window)) return *seen;
  Seen& seen = seen_.emplace_front(Read(window));
  seen.window = window;
  seen_at_.Put(static_cast<std::uint32_t>(window),
               reinterpret_cast<std::uintptr_t>(&seen));
  return seen;
}

bool DesktopTree::ReadPiece(WindowHandle window) {
  Seen* found = Found(window);
  if (!found) return !Look(window).more_children;
  Seen& seen = *found;
  if (!seen.more_children) return true;
  const std::vector<WindowHandle> piece =
      windows_.ChildWindowsAfter(window, seen.listed_to, kListPiece);
  seen.more_children = piece.size() == kListPiece && seen.children.size() < kMostItems;
  if (!piece.empty()) seen.listed_to = piece.back();
  // The list starts over where the last child read has gone.
  for (WindowHandle child : piece) {
    if (std::ranges::find(seen.children, child) == seen.children.end())
      seen.children.push_back(child);
  }
  return !seen.more_children;
}

DesktopTree::Seen DesktopTree::Read(WindowHandle window) const {
  Seen seen;
  if (const std::optional<WindowFacts> facts =
          memo_ ? memo_->Facts(window) : windows_.Facts(window)) {
    seen.class_name = facts->class_name;
    seen.title = facts->title;
    seen.parent = facts->parent;
    seen.owner = facts->owner;
    seen.process_id = facts->process_id;
    const PixelRect& r = facts->window_rect;
    seen.dimmed =
        !facts->visible || !facts->enabled || r.right <= r.left || r.bottom <= r.top;
    seen.children = windows_.ChildWindowsAfter(window, 0, kListPiece);
    seen.more_children = seen.children.size() == kListPiece;
    if (seen.more_children) seen.listed_to = seen.children.back();
  } else {
    seen.dimmed = true;
    seen.gone = true;
  }
  return seen;
}

bool DesktopTree::OwnedInProcess(WindowHandle top) const {
  const std::uint64_t* owner_process =
      process_of_.Find(static_cast<std::uint32_t>(Look(top).owner));
  return owner_process &&
         *owner_process == *process_of_.Find(static_cast<std::uint32_t>(top));
}

// Owned pop-ups go under their owner where it is a window of the same
// process; the owner may come later in the list, below them.
bool DesktopTree::Grouped(const Process& process) const {
  if (process.windows) return true;
  if (!filter_.empty() && next_top_ < tops_.size()) return false;
  std::vector<WindowHandle> windows;
  for (WindowHandle top : process.tops) {
    if (OwnedInProcess(top)) {
      const WindowHandle owner = Look(top).owner;
      const std::size_t at =
          owned_at_.Put(static_cast<std::uint32_t>(owner), owned_.size());
      if (at == owned_.size()) owned_.emplace_back();
      owned_[at].push_back(top);
      owner_in_tree_.Put(static_cast<std::uint32_t>(top),
                         static_cast<std::uint32_t>(owner));
    } else {
      windows.push_back(top);
    }
  }
  process.windows = std::move(windows);
  return true;
}

std::vector<WindowHandle> DesktopTree::TopItems(const Process& process) const {
  if (Grouped(process)) return *process.windows;
  std::vector<WindowHandle> windows;
  for (WindowHandle top : process.tops) {
    if (Found(top) && !OwnedInProcess(top)) windows.push_back(top);
  }
  return windows;
}

// Without a filter, which reads on in idle time, the rest of the children are
// read at once.
std::vector<WindowHandle> DesktopTree::Below(WindowHandle window) const {
  Look(window);
  Seen& seen = *Found(window);
  if (seen.more_children && filter_.empty()) {
    seen.children = windows_.ChildWindows(window);
    seen.more_children = false;
  }
  std::vector<WindowHandle> below = seen.children;
  const std::uint64_t* process = process_of_.Find(static_cast<std::uint32_t>(window));
  if (!process || !Grouped(processes_[*process_index_.Find(*process)])) return below;
  if (const std::uint64_t* owned = owned_at_.Find(static_cast<std::uint32_t>(window))) {
    below.insert(below.end(), owned_[*owned].begin(), owned_[*owned].end());
  }
  return below;
}

bool DesktopTree::Matches(WindowHandle window) const {
  if (filter_.empty()) return false;
  const Seen& seen = Look(window);
  return Lower(seen.class_name).find(filter_) != std::string::npos ||
         Lower(seen.title).find(filter_) != std::string::npos ||
         NamesHandle(filter_, window);
}

bool DesktopTree::ProcessMatches(std::uint32_t process_id) const {
  if (filter_.empty()) return false;
  const std::uint64_t* at = process_index_.Find(process_id);
  return at && Lower(processes_[*at].name).find(filter_) != std::string::npos;
}

// Under a filter, a window not read yet is not known to be kept.
bool DesktopTree::Kept(WindowHandle window) const {
  if (filter_.empty()) return true;
  if (!Found(window)) return false;
  if (const std::uint64_t* known = kept_.Find(WindowKey(window))) return *known != 0;
  bool kept = Matches(window) || ProcessMatches(Look(window).process_id);
  for (WindowHandle below : Below(window)) kept = Kept(below) || kept;
  kept_.Put(WindowKey(window)) = kept;
  return kept;
}

bool DesktopTree::ProcessKept(const Process& process) const {
  if (filter_.empty() || ProcessMatches(process.id)) return true;
  return std::ranges::any_of(TopItems(process),
                             [this](WindowHandle w) { return Kept(w); });
}

TreeItem DesktopTree::WindowItem(WindowHandle window) const {
  const Seen& seen = Look(window);
  const bool expandable =
      std::ranges::any_of(Below(window), [this](WindowHandle w) { return Kept(w); });
  return {WindowKey(window),
          Hex32(static_cast<std::uint32_t>(window)) + " " + seen.class_name + " \"" +
              seen.title + "\"",
          seen.dimmed, expandable};
}

std::vector<TreeItem> DesktopTree::Roots() const {
  Settle();
  std::vector<TreeItem> items;
  for (const Process& process : processes_) {
    if (!ProcessKept(process)) continue;
    const std::string name = process.name.empty() ? "Process" : process.name;
    items.push_back({ProcessKey(process.id), name + " (" + DecimalText(process.id) + ")",
                     false, !process.tops.empty()});
  }
  return items;
}

std::vector<TreeItem> DesktopTree::Children(TreeItemKey key) const {
  Settle();
  std::vector<WindowHandle> below;
  if (const std::optional<WindowHandle> window = WindowOfKey(key)) {
    below = Below(*window);
  } else if (const std::uint64_t* at =
                 process_index_.Find(static_cast<std::uint32_t>(key))) {
    below = TopItems(processes_[*at]);
  }
  std::vector<TreeItem> items;
  for (WindowHandle window : below) {
    if (Kept(window)) items.push_back(WindowItem(window));
  }
  return items;
}

std::vector<TreeItemKey> DesktopTree::PathTo(WindowHandle window) const {
  Settle();
  std::vector<TreeItemKey> path;
  WindowHandle top = window;
  for (int depth = 0; top != 0; ++depth) {
    // A loop of parents would be a broken desktop; give up rather than spin.
    if (Look(top).gone || depth > 10000) return {};
    path.push_back(WindowKey(top));
    if (Look(top).parent == 0) break;
    top = Look(top).parent;
  }
  const std::uint64_t* top_process = process_of_.Find(static_cast<std::uint32_t>(top));
  if (!top_process) return {};
  // Until the owners are known, an owned pop-up has no place in the tree.
  if (!Grouped(processes_[*process_index_.Find(*top_process)])) {
    if (OwnedInProcess(top)) return {};
  }
  for (const std::uint64_t* owner;
       (owner = owner_in_tree_.Find(static_cast<std::uint32_t>(top)));) {
    top = static_cast<WindowHandle>(*owner);
    path.push_back(WindowKey(top));
  }
  const std::uint64_t* process = process_of_.Find(static_cast<std::uint32_t>(top));
  if (!process) return {};
  path.push_back(ProcessKey(static_cast<std::uint32_t>(*process)));
  std::reverse(path.begin(), path.end());
  for (TreeItemKey key : path) {
    const std::optional<WindowHandle> w = WindowOfKey(key);
    if (w && !Kept(*w)) return {};
  }
  return path;
}

bool DesktopTree::LeadsToMatch(TreeItemKey key) const {
  if (const std::uint64_t* known = leads_.Find(key)) return *known != 0;
  bool leads = false;
  for (const TreeItem& child : Children(key)) {
    const std::optional<WindowHandle> window = WindowOfKey(child.key);
    if ((window && Matches(*window)) || LeadsToMatch(child.key)) leads = true;
  }
  leads_.Put(key) = leads;
  return leads;
}

std::optional<WindowHandle> DesktopTree::FirstMatch() const {
  Settle();
  for (TreeItemKey key : ItemsToOpen()) {
    for (const TreeItem& child : Children(key)) {
      const std::optional<WindowHandle> window = WindowOfKey(child.key);
      if (window && Matches(*window)) return window;
    }
  }
  return std::nullopt;
}

std::vector<TreeItemKey> DesktopTree::ItemsToOpen() const {
  Settle();
  std::vector<TreeItemKey> open;
  if (filter_.empty()) return open;
  std::vector<TreeItemKey> pending;
  for (const TreeItem& root : Roots()) pending.push_back(root.key);
  std::reverse(pending.begin(), pending.end());
  while (!pending.empty()) {
    const TreeItemKey key = pending.back();
    pending.pop_back();
    if (!LeadsToMatch(key)) continue;
    open.push_back(key);
    std::vector<TreeItem> children = Children(key);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
      pending.push_back(it->key);
  }
  return open;
}

}  // namespace winscout::inspector
