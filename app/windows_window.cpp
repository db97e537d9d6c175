#include "app/windows_window.h"

#include "cli/window_json.h"
#include "platform/text_pieces.h"

namespace winscout::app {

WindowsWindow::WindowsWindow(Handler<WindowsView&()> make_view, Form& form,
                             const WindowSystem& windows, MainWindow& main,
                             Clipboard& clipboard)
    : make_view_(std::move(make_view)),
      form_(form),
      windows_(windows),
      main_(main),
      clipboard_(clipboard),
      tree_(windows) {
  form.AddSystemMenuItem(kMenuText, [this] { Open(); });
  form.OnFunctionKey(kOpenKey, [this] { Open(); });
  form.OnFunctionKey(kRefreshKey, [this] {
    if (view_ && view_->Visible()) Refresh();
  });
  main_.OnPickedAtCursor([this](WindowHandle window) { ShowPicked(window); });
}

void WindowsWindow::Wire() {
  view_->Filter().OnChange([this] { OnFilterChange(); });
  view_->OnRefresh([this] { Refresh(); });
  view_->Tree().OnExpanding([this](TreeItemKey key) { OnExpanding(key); });
  view_->Tree().OnSelect([this](TreeItemKey key) { OnSelect(key); });
  view_->Tree().SetMenu(
      [this](TreeItemKey key) { return MenuFor(key); },
      [this](TreeItemKey key, std::size_t choice) { OnMenuChoice(key, choice); });
  view_->Details().OnCopy([this] { CopyLine(); });
}

// Opened for the first time, the tree shows the window picked last.
void WindowsWindow::Open() {
  if (!view_) {
    view_ = &make_view_();
    Wire();
  }
  if (!loaded_) {
    loaded_ = true;
    tree_.Reload();
    ReadOn();
    Rebuild();
    if (main_.LastPickedWindow() != 0 && Reveal(main_.LastPickedWindow())) {
      chosen_ = main_.LastPickedWindow();
      ShowDetails(view_->Tree().Selected());
    }
  }
  view_->Show();
}

void WindowsWindow::Fill(std::optional<TreeItemKey> parent) {
  const std::optional<inspector::MenuPlace> menu =
      parent ? inspector::MenuOfKey(*parent) : std::nullopt;
  std::vector<TreeItem> items = menu     ? MenuItems(*menu)
                                : parent ? tree_.Children(*parent)
                                         : tree_.Roots();
  if (const std::optional<WindowHandle> window =
          parent ? inspector::WindowOfKey(*parent) : std::nullopt;
      window && menus_tap_ && menus_tap_->HasMenuBar(*window)) {
    items.push_back(inspector::MenuBranchItem(*window));
  }
  for (TreeItem& item : items) {
    const std::optional<WindowHandle> window = inspector::WindowOfKey(item.key);
    if (window && menus_tap_ && menus_tap_->HasMenuBar(*window)) item.expandable = true;
  }
  for (const TreeItem& item : items) shown_.Put(item.key);
  if (parent) filled_.Put(*parent);
  view_->Tree().SetChildren(parent, std::move(items));
}

// The whole tree again from what the desktop tree has read; with a filter,
// opened down to every match.
void WindowsWindow::Rebuild() {
  const std::optional<TreeItemKey> selected = view_->Tree().Selected();
  shown_.Clear();
  filled_.Clear();
  Fill(std::nullopt);
  for (TreeItemKey key : tree_.ItemsToOpen()) {
    Fill(key);
    view_->Tree().Expand(key);
  }
  // The window chosen last stays selected where the filter keeps it, even
  // after a filter that did not; else the first match is selected, to be
  // picked with Enter or the arrows.
  std::optional<WindowHandle> window = chosen_;
  if (!window && selected) window = inspector::WindowOfKey(*selected);
  if (!(window && Reveal(*window))) {
    if (const std::optional<WindowHandle> match = tree_.FirstMatch()) Reveal(*match);
  }
  if (view_->Tree().Selected() != details_of_) ShowDetails(view_->Tree().Selected());
}

void WindowsWindow::Reshow() {
  std::vector<TreeItemKey> open = view_->Tree().ExpandedItems();
  const std::optional<TreeItemKey> selected =
      reselect_ ? reselect_ : view_->Tree().Selected();
  Rebuild();
  for (std::vector<TreeItemKey>* keys : {&open, &reopen_}) {
    for (TreeItemKey key : *keys) {
      if (!shown_.Contains(key)) continue;
      if (!filled_.Contains(key)) Fill(key);
      view_->Tree().Expand(key);
    }
  }
  if (selected && shown_.Contains(*selected)) {
    view_->Tree().Select(*selected);
    reselect_.reset();
  }
  if (view_->Tree().Selected() != details_of_) ShowDetails(view_->Tree().Selected());
  if (!reading_) {
    reopen_.clear();
    reselect_.reset();
  }
  shown_at_ms_ = form_.ClockMs();
}

// The desktop read again; the open items and the selection stay where their
// windows still exist.
void WindowsWindow::Refresh() {
  reopen_ = view_->Tree().ExpandedItems();
  reselect_ = view_->Tree().Selected();
  tree_.Reload();
  menus_.clear();
  menus_at_.Clear();
  ReadOn();
  Reshow();
  ShowDetails(view_->Tree().Selected());
}

void WindowsWindow::OnFilterChange() {
  tree_.SetFilter(view_->Filter().Text());
  clipboard_busy_ = false;
  ReadOn();
  Rebuild();
  shown_at_ms_ = form_.ClockMs();
}

bool WindowsWindow::ReadsOn() const { return tree_.Filtered() && !tree_.Complete(); }

void WindowsWindow::ReadOn() {
  const bool before = reading_;
  reading_ = ReadsOn();
  if (reading_ && !before) form_.WhenIdle([this] { return ReadStep(); });
  ShowStatus();
}

// One step: the windows it reads come into the tree at the next showing,
// which takes a step of its own.
bool WindowsWindow::ReadStep() {
  if (show_next_) {
    show_next_ = false;
    Reshow();
    ShowStatus();
    return reading_;
  }
  if (!reading_) return false;
  const std::int64_t start = form_.ClockMs();
  for (int read = 0;
       tree_.Filtered() && read < kStepWindows && form_.ClockMs() - start < kStepMs;
       ++read) {
    if (!tree_.ReadNext()) break;
  }
  reading_ = ReadsOn();
  if (!reading_ || form_.ClockMs() - shown_at_ms_ >= kShowEveryMs) {
    show_next_ = true;
    return true;
  }
  ShowStatus();
  return reading_;
}

void WindowsWindow::ShowStatus() {
  if (clipboard_busy_) {
    view_->SetStatus(kClipboardBusy);
  } else if (reading_) {
    std::string text = "Reading windows... ";
    text += DecimalText(static_cast<unsigned>(tree_.ReadCount()));
    text += " read so far";
    view_->SetStatus(text);
  } else if (tree_.Filtered()) {
    const auto matches = static_cast<unsigned>(tree_.MatchCount());
    std::string text = DecimalText(matches);
    text += matches == 1 ? " window matches" : " windows match";
    view_->SetStatus(text);
  } else {
    view_->SetStatus({});
  }
}

// Fills and opens the items down to the window and selects it.
bool WindowsWindow::Reveal(WindowHandle window) {
  const std::vector<TreeItemKey> path = tree_.PathTo(window);
  if (path.empty()) return false;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    if (!shown_.Contains(path[i])) return false;
    if (!filled_.Contains(path[i])) Fill(path[i]);
    view_->Tree().Expand(path[i]);
  }
  if (!shown_.Contains(path.back())) return false;
  view_->Tree().Select(path.back());
  return true;
}

void WindowsWindow::ShowPicked(WindowHandle window) {
  if (!view_ || !view_->Visible() || window == 0) return;
  chosen_ = window;
  // A window made since the last reading needs a new one, which selects it
  // once the top-level windows are listed.
  if (!Reveal(window)) {
    tree_.Reload();
    ReadOn();
    Rebuild();  // which selects the window chosen last
  }
  ShowDetails(view_->Tree().Selected());
}

const std::vector<MenuItemInfo>* WindowsWindow::MenuOf(WindowHandle window) const {
  const std::uint64_t* at = menus_at_.Find(static_cast<std::uint32_t>(window));
  return at ? reinterpret_cast<const std::vector<MenuItemInfo>*>(*at) : nullptr;
}

std::vector<TreeItem> WindowsWindow::MenuItems(const inspector::MenuPlace& place) {
  const std::vector<MenuItemInfo>* known = MenuOf(place.window);
  if (!known || !place.index) {
    std::optional<std::vector<MenuItemInfo>> menu =
        menus_tap_ ? menus_tap_->ReadMenu(place.window) : std::nullopt;
    if (!menu)
      return {
          {inspector::MenuItemKey(place.window, 0), "(the menu cannot be read)", true}};
    std::uint64_t& at = menus_at_.Put(static_cast<std::uint32_t>(place.window));
    if (!at) at = reinterpret_cast<std::uintptr_t>(&menus_.emplace_front());
    auto* kept = reinterpret_cast<std::vector<MenuItemInfo>*>(at);
    *kept = std::move(*menu);
    known = kept;
  }
  return inspector::MenuChildren(place.window, *known, place.index);
}

void WindowsWindow::OnExpanding(TreeItemKey key) {
  if (!filled_.Contains(key)) Fill(key);
}

// A window destroyed since the tree was read is greyed, not picked: a pick
// of it could only report a bad handle.
void WindowsWindow::OnSelect(TreeItemKey key) {
  const bool exists = ShowDetails(key);
  if (const std::optional<inspector::MenuPlace> menu = inspector::MenuOfKey(key)) {
    ChooseMenuItem(*menu);
    return;
  }
  if (const std::optional<WindowHandle> window = inspector::WindowOfKey(key)) {
    if (!exists) {
      view_->Tree().Dim(key);
      return;
    }
    chosen_ = window;
    main_.PickWindow(*window);
  }
}

bool WindowsWindow::ShowDetails(std::optional<TreeItemKey> key) {
  details_.clear();
  details_of_ = key;
  bool exists = true;
  if (key) {
    if (const std::optional<WindowHandle> window = inspector::WindowOfKey(*key)) {
      details_ = inspector::DescribeWindowDetails(windows_, *window);
      exists = !details_.empty();
      if (!exists) details_ = inspector::DescribeGoneWindow(*window);
    } else if (const std::optional<inspector::MenuPlace> menu =
                   inspector::MenuOfKey(*key)) {
      const std::vector<MenuItemInfo>* known = MenuOf(menu->window);
      if (menu->index && known && *menu->index < known->size()) {
        details_ = inspector::MenuItemDetails(*known, *menu->index);
      }
    } else {
      const auto process_id = static_cast<std::uint32_t>(*key);
      details_ = {{"Process ID", DecimalText(process_id)},
                  {"Image path", windows_.ProcessImagePath(process_id)}};
    }
  }
  std::vector<std::pair<std::string, std::string>> lines;
  for (const inspector::DetailLine& line : details_)
    lines.emplace_back(line.name, line.value);
  view_->Details().SetLines(std::move(lines));
  return exists;
}

// The actions that fit the window but Find only, after the operations.
std::vector<codegen::Action> WindowsWindow::ActionsFor(const WindowFacts& facts) const {
  std::vector<codegen::Action> actions =
      codegen::ActionsFor(codegen::KindOfTarget(facts.class_name, facts.style));
  actions.erase(actions.begin());  // kFindOnly, first of them
  return actions;
}

// A window gone since the reading is greyed and offers nothing that acts on
// it; any item offers to save the tree.
std::vector<std::string> WindowsWindow::MenuFor(TreeItemKey key) {
  const std::optional<WindowHandle> window = inspector::WindowOfKey(key);
  std::vector<std::string> choices;
  if (window) choices.emplace_back("Copy &Handle");
  const std::optional<WindowFacts> facts =
      window ? windows_.Facts(*window) : std::nullopt;
  if (window && !facts) view_->Tree().Dim(key);
  if (facts) {
    choices.emplace_back("Copy &Code");
    choices.insert(choices.end(), std::begin(kWindowOperationNames),
                   std::end(kWindowOperationNames));
    for (codegen::Action action : ActionsFor(*facts)) {
      choices.emplace_back(codegen::ActionName(action));
    }
    for (const auto& [text, chosen] : window_choices_) choices.push_back(text);
  }
  choices.emplace_back(kSaveJsonText);
  return choices;
}

std::size_t WindowsWindow::WindowChoiceCount(
    const std::optional<WindowFacts>& facts) const {
  if (!facts) return kCopyHandle + 1;
  return kFirstOperation + std::size(kWindowOperationNames) + ActionsFor(*facts).size() +
         window_choices_.size();
}

// The choice acts on the item the menu opened on, picked first where it is
// not the window picked last (a filter selects its first match unpicked).
void WindowsWindow::OnMenuChoice(TreeItemKey key, std::size_t choice) {
  const std::optional<WindowHandle> window = inspector::WindowOfKey(key);
  const std::optional<WindowFacts> facts =
      window ? windows_.Facts(*window) : std::nullopt;
  if (choice == (window ? WindowChoiceCount(facts) : 0)) {
    SaveJson();
    return;
  }
  if (!window) return;
  if (choice == kCopyHandle) {
    Copy(DecimalText(*window));
    return;
  }
  if (!facts) return;
  if (main_.LastPickedWindow() != *window) {
    chosen_ = window;
    main_.PickWindow(*window);
  }
  const std::vector<codegen::Action> actions = ActionsFor(*facts);
  if (choice == kCopyCode) {
    Copy(main_.CodeText());
  } else if (const std::size_t operation = choice - kFirstOperation;
             operation < std::size(kWindowOperationNames)) {
    main_.Operate(static_cast<WindowOperation>(operation));
  } else if (const std::size_t action = operation - std::size(kWindowOperationNames);
             action < actions.size()) {
    main_.TryAction(actions[action]);
  } else if (const std::size_t added = action - actions.size();
             added < window_choices_.size()) {
    window_choices_[added].second(*window);
  }
}

// The tree as the window holds it, filter and all, written by the command
// line's writer.
void WindowsWindow::SaveJson() {
  inspector::FactsMemo memo(windows_);
  if (view_->SaveJson("windows.json", cli::TreeJson(tree_, memo)) ==
      SaveResult::kFailed) {
    view_->SetStatus(kSaveFailed);
  }
}

// The code that finds the window and posts it the item's command, as
// choosing the item does.
void WindowsWindow::ChooseMenuItem(const inspector::MenuPlace& place) {
  const std::vector<MenuItemInfo>* known = MenuOf(place.window);
  if (!place.index || !known || *place.index >= known->size()) return;
  const MenuItemInfo& item = (*known)[*place.index];
  if (item.submenu || item.separator || item.left_out != 0) return;
  main_.PickWindowToSend(
      place.window,
      codegen::MessageToSend{.message = kMenuCommandMessage,
                             .name = "WM_COMMAND",
                             .wparam = item.id,
                             .comment = inspector::MenuPath(*known, *place.index)});
}

std::optional<WindowHandle> WindowsWindow::SelectedWindow() const {
  if (!view_ || !view_->Visible()) return std::nullopt;
  const std::optional<TreeItemKey> key = view_->Tree().Selected();
  return key ? inspector::WindowOfKey(*key) : std::nullopt;
}

void WindowsWindow::AddWindowChoice(std::string text,
                                    Handler<void(WindowHandle)> chosen) {
  window_choices_.emplace_back(std::move(text), std::move(chosen));
}

void WindowsWindow::CopyLine() {
  const std::optional<std::size_t> line = view_->Details().SelectedLine();
  if (line && *line < details_.size()) Copy(inspector::CopyText(details_[*line]));
}

void WindowsWindow::Copy(std::string text) {
  copy_text_ = std::move(text);
  copy_tries_ = 0;
  clipboard_busy_ = false;
  TryCopy();
}

// Tried again later, not waited for here: the program answers meanwhile.
void WindowsWindow::TryCopy() {
  const bool copied = clipboard_.SetText(copy_text_);
  if (!copied && ++copy_tries_ < kCopyTries) {
    view_->CallLater(kCopyRetryMs, [this] { TryCopy(); });
  } else {
    clipboard_busy_ = !copied;
  }
  ShowStatus();
}

}  // namespace winscout::app
