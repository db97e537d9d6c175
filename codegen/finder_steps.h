#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codegen/search_plan.h"

namespace winscout::codegen {

// How the code finds each level: by its place among the windows of its
// class, or by what outlives a restart of its program where the level has it
// (a control ID of its own, a title of its own) and by place where not.
enum class SearchWay { kPosition, kIdAndTitle };

// One statement of finder code: it sets the variable of `level`.
struct FinderStep {
  enum class Call {
    kNone,          // no search reached the level: the variable stays null
    kFindWindow,    // FindWindow(class, title)
    kFindWindowEx,  // FindWindowEx(parent, after, class, title)
    kDesktop,       // GetDesktopWindow()
    kDialogItem,    // GetDlgItem(parent, id)
    // The pattern helper: FindWindowEx(parent, after, class, title) on, to
    // the first window whose class begins with class_start and whose title
    // ends with title_end.
    kFindLike,
  };
  std::size_t level = 0;
  Call call = Call::kNone;
  // The level's first statement, where languages that declare at the first
  // assignment declare its variable.
  bool declares = false;
  // kFindWindowEx: the level searched under, none for the top-level windows.
  std::optional<std::size_t> parent;
  // kFindWindowEx: the search goes on after the level's own window rather
  // than from the first window.
  bool after_self = false;
  // kFindWindow, kFindWindowEx, kFindLike: the class and the title searched
  // for; none for any.
  const std::string* class_name = nullptr;
  const std::string* title = nullptr;
  // kFindLike: how the class begins and the title ends; none for any.
  const std::string* class_start = nullptr;
  const std::string* title_end = nullptr;
  // kDialogItem: the control ID.
  std::int32_t id = 0;
};

// The functions that finder code calls.
struct FinderCalls {
  bool find_window = false;
  bool find_window_ex = false;
  bool desktop = false;
  bool dialog_item = false;
  bool find_like = false;  // the helper, which calls FindWindowEx itself
};

// Whether the plan finds the desktop window, which no class search finds.
bool IsDesktopPlan(const SearchPlan& plan);

// The plan's statements in order, found the given way: each level's calls,
// or one kNone statement for a level without calls.
std::vector<FinderStep> FinderSteps(const SearchPlan& plan, SearchWay way);

FinderCalls CallsOf(const std::vector<FinderStep>& steps);

// The levels that the code finds by their place among the windows of their
// class although it was asked for the sturdier way; none for the position way.
std::vector<std::size_t> PositionLevels(const SearchPlan& plan, SearchWay way);

// The comment text (without the language's comment mark) that says which
// variables depend on position, or empty when none does.
std::string PositionNote(const SearchPlan& plan, SearchWay way,
                         const std::vector<std::string>& names);

// Whether some literal the code holds is beyond the ANSI code page.
bool NeedsUnicode(const SearchPlan& plan, SearchWay way);

}  // namespace winscout::codegen
