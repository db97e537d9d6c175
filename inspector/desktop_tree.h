#pragma once

#include <cstdint>
#include <forward_list>
#include <optional>
#include <string>
#include <vector>

#include "inspector/facts_memo.h"
#include "platform/key_index.h"
#include "platform/toolkit.h"
#include "platform/window_system.h"

namespace winscout::inspector {

// The items of the tree: a process or a window.
TreeItemKey ProcessKey(std::uint32_t process_id);
TreeItemKey WindowKey(WindowHandle window);
// The window an item stands for; nothing for a process or another item.
std::optional<WindowHandle> WindowOfKey(TreeItemKey key);

// Every window of the desktop as a tree: processes in the order their first
// top-level window comes, their top-level windows, the children of each and
// the pop-ups it owns, all in the window manager's order. Opening reads only
// the list of top-level windows with their processes, in a few questions
// however many there are; the rest, owners included, is read when a process
// or window is opened, so that a desktop of thousands of windows shows at
// once. What has been read is kept until the
// next Reload, so no window is read twice in between. A filter keeps the
// windows whose class, title, process name (any case) or handle (decimal or
// hex) match, with the windows and processes above them. Matching needs every
// window read: ReadNext reads them one at a time, for the caller to spread
// over idle time, and until then the filtered tree holds the windows read so
// far.
class DesktopTree {
 public:
  // The children a window's list is read in at a time: few enough that a
  // piece takes milliseconds even while other programs keep every core busy.
  static constexpr std::size_t kListPiece = 16;

  explicit DesktopTree(const WindowSystem& windows) : windows_(windows) {}
  // Reading its windows' facts through the memo, which a pass that reads
  // them again then shares.
  explicit DesktopTree(FactsMemo& memo) : windows_(memo.windows()), memo_(&memo) {}

  // Reads the desktop again: forgets what was read, and lists the top-level
  // windows anew.
  void Reload();
  void SetFilter(std::string filter);
  bool Filtered() const { return !filter_.empty(); }
  // Reads the next window that has not been read (or the next few children
  // of a window with many), top-level windows first, then the rest in the
  // tree's order; false once every window has been read.
  bool ReadNext();
  // Every window has been read.
  bool Complete() const { return next_top_ == tops_.size() && pending_.empty(); }
  std::size_t ReadCount() const { return seen_at_.Size(); }
  // The windows read so far that the filter matches.
  std::size_t MatchCount() const;

  std::vector<TreeItem> Roots() const;
  std::vector<TreeItem> Children(TreeItemKey key) const;
  // The items from the process down to the window, empty if the tree does
  // not hold it.
  std::vector<TreeItemKey> PathTo(WindowHandle window) const;
  // With a filter, the items whose subtrees hold a window or process that
  // matches it, parents first: opened, they show every match.
  std::vector<TreeItemKey> ItemsToOpen() const;
  // With a filter, the first window in the tree that matches it.
  std::optional<WindowHandle> FirstMatch() const;

 private:
  struct Process {
    std::uint32_t id = 0;
    std::string name;                // the image's file name
    std::vector<WindowHandle> tops;  // every top-level window of it
    // Once grouped: the top-level windows that no window of the process owns.
    mutable std::optional<std::vector<WindowHandle>> windows;
  };
  // What is read of a window once it is shown.
  struct Seen {
    std::string class_name;
    std::string title;
    bool dimmed = false;
    bool gone = false;  // no window had the handle when it was read
    WindowHandle parent = 0;
    std::vector<WindowHandle> children;
    WindowHandle owner = 0;
    std::uint32_t process_id = 0;
    // Read by ReadNext, whose children come a piece at a time: more follow
    // the last one listed.
    bool more_children = false;
    WindowHandle listed_to = 0;
    WindowHandle window = 0;
  };

  // The window as read: its facts, and its children up to a piece of them.
  const Seen& Look(WindowHandle window) const;
  // The window as read, or nullptr.
  Seen* Found(WindowHandle window) const;
  Seen Read(WindowHandle window) const;
  // Reads the window, or the next piece of its children; whether it is read
  // whole.
  bool ReadPiece(WindowHandle window);
  // Puts the process's owned pop-ups under their owners, once that can be
  // done without reading: with a filter, only once every top-level window is
  // read. Whether they are.
  bool Grouped(const Process& process) const;
  // The process's top-level windows that no window of the process owns; until
  // it is grouped, those read so far whose owners are not of the process.
  std::vector<WindowHandle> TopItems(const Process& process) const;
  bool OwnedInProcess(WindowHandle top) const;
  // Drops the pending windows that were read meanwhile, putting their
  // children in their place.
  void SkipRead();
  void Push(const std::vector<WindowHandle>& windows);
  // Forgets what the filter's answers were built on once more was read.
  void Settle() const;
  // The children of the window, then the pop-ups it owns.
  std::vector<WindowHandle> Below(WindowHandle window) const;
  TreeItem WindowItem(WindowHandle window) const;
  bool Matches(WindowHandle window) const;
  bool Kept(WindowHandle window) const;
  bool ProcessMatches(std::uint32_t process_id) const;
  bool ProcessKept(const Process& process) const;
  // Whether the item's children hold a match, as seen under the filter.
  bool LeadsToMatch(TreeItemKey key) const;

  const WindowSystem& windows_;
  FactsMemo* memo_ = nullptr;
  std::vector<Process> processes_;
  // Every top-level window in the order they are read, the next one to read,
  // and the windows below them still to read, the next one last.
  std::vector<WindowHandle> tops_;
  std::size_t next_top_ = 0;
  std::vector<WindowHandle> pending_;
  mutable bool read_more_ = false;
  KeyIndex process_of_;     // a top-level window's process ID
  KeyIndex process_index_;  // a process's place in processes_
  // The pop-ups a window owns, at their owner's place in owned_at_.
  mutable std::vector<std::vector<WindowHandle>> owned_;
  mutable KeyIndex owned_at_;
  mutable KeyIndex owner_in_tree_;
  std::string filter_;
  // The windows read, where each stays while more are read (Look's answers
  // are kept across further reads), found by the address kept under the
  // window's handle.
  mutable std::forward_list<Seen> seen_;
  mutable KeyIndex seen_at_;
  // The filter's answers (1 or 0), by the item's key (a window's for Kept).
  mutable KeyIndex kept_;
  mutable KeyIndex leads_;
};

}  // namespace winscout::inspector
