#pragma once

// Random desktops for property tests: window trees of many shapes whose class
// names are ordinary, words of the code's languages, different classes with
// one variable name, names without letters, names with parts that change from
// run to run (as application frameworks make them), and hostile names and
// bytes; some titles name a document.

#include <cstddef>
#include <ostream>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/model/window_tree.h"

namespace winscout::testing {

// Room for the searches of every window in a few seconds in all.
inline constexpr std::size_t kMaxWindows = 700;

inline constexpr std::string_view kOrdinaryNames[] = {
    "Edit",          "Button",       "ComboBox",    "ListBox",           "Main_Frame2",
    "SysListView32", "Afx:400000:8", "Tool.Pane 2", "msctls_progress32", "RichEdit20A"};
// Visual Basic words, and words the Visual Basic code uses, as class names.
inline constexpr std::string_view kKeywordNames[] = {
    "Static",   "Date",     "String",  "Object",     "Error",        "Type",
    "Me",       "Long",     "Dim",     "Integer",    "Text",         "Rem",
    "Next",     "Variant",  "Nothing", "End",        "Int",          "Array",
    "Fix",      "Len",      "Mid",     "Name",       "Line",         "CDecl",
    "DoEvents", "LBound",   "Chr",     "FindWindow", "FindWindowEx", "vbNullString",
    "sTaTiC",   "Static_2", "Date#1",  "AndAlso",    "Module"};
// Different classes with one variable name.
inline constexpr std::string_view kSameNameNames[] = {"Edit1",   "Edit2", "EDIT", "edit",
                                                      "E_d_i_t", "Ed.it", "X"};
// The run-dependent forms: each drawn name gets new digits where `#` stands.
inline constexpr std::string_view kRunDependentForms[] = {
    "Afx:################:8:################:################:0000000000000000",
    "Afx:########:0",
    "ATL:################",
    "WindowsForms10.Window.8.app.0.#######_r#_ad#",
    "WindowsForms10.BUTTON.app.0.#######_r#_ad#",
    "WindowsForms10.EDIT.app.0.#######_r#_ad#",
    "HwndWrapper[notepad.exe;;########-####-####-####-############]",
    "HwndWrapper[App.exe;;########-####-####-####-############]",
    "{########-####-####-####-############}",
    "Chrome_WidgetWin_########",
    "Pane.########.Edit",
};
inline constexpr std::string_view kNoLetterNames[] = {"#32770", "123", "#32768", "_",
                                                      "1",      " ",   "::",     "42.0"};
inline constexpr std::string_view kHostileNames[] = {"\"",
                                                     "a\"b",
                                                     "\"\"",
                                                     "\" & Chr(10) & \"",
                                                     "a\r\nb",
                                                     "\r",
                                                     "\n",
                                                     "\t",
                                                     "x\x01y",
                                                     "\x7f",
                                                     "\x1f",
                                                     "Ünïcode",
                                                     "日本",
                                                     "ÿþ",
                                                     "a“b",
                                                     "”",
                                                     "＂",
                                                     "ОкноКласс",
                                                     "窗口类",
                                                     "Emoji😀Class",
                                                     "MixedАБВ",
                                                     ", vbNullString)",
                                                     "Dim X As Long",
                                                     "a & b",
                                                     "Chr(65)",
                                                     "'",
                                                     "\"\r\n"};
// Characters for random hostile names: code syntax, control characters, the
// quotes only VB.NET sees, non-ASCII within and beyond the ANSI code page.
inline constexpr std::string_view kHostileCharacters[] = {
    "a",      "Z", "q", "9", "_",  " ",  "#",  "\"",   "&",    "(",
    ")",      ",", ".", "'", "\r", "\n", "\t", "\x01", "\x1f", "\x7f",
    "\u0080", "é", "ÿ", "“", "”",  "＂", "Ж",  "语",   "😀"};

struct TreeShape {
  const char* name = "";
  unsigned first_seed = 0;
  int top_levels = 1;       // at most
  int owned = 0;            // owned pop-ups and owned overlapped windows, at most
  int max_depth = 0;        // of the random growth under each top-level window
  int max_children = 0;     // per window in the random growth
  int chain_depth = 0;      // one deep chain of up to this many levels; 0 for none
  int wide_level = 0;       // one level with up to this many children; 0 for none
  int hostile_percent = 0;  // share of class names drawn from the hostile ones
  // Words of the code's languages, drawn as often as any other group.
  std::span<const std::string_view> keyword_names = kKeywordNames;
};

inline void PrintTo(const TreeShape& shape, std::ostream* out) { *out << shape.name; }

// A desktop grown at random from the seed: the same seed and shape give the
// same windows.
class RandomDesktop {
 public:
  RandomDesktop(unsigned seed, const TreeShape& shape)
      : shape_(shape), random_(seed), tree_(FirstHandle(seed)) {
    MakeLongNames();
    AddTopLevelWindows();
    const std::vector<WindowHandle> tops = windows_;
    // Every third desktop gets the full depth and width.
    if (shape.chain_depth > 0) {
      AddChain(Pick(tops),
               seed % 3 == 0 ? shape.chain_depth : Uniform(1, shape.chain_depth));
    }
    if (shape.wide_level > 0) {
      AddWideLevel(Pick(windows_),
                   seed % 3 == 0 ? shape.wide_level : Uniform(1, shape.wide_level));
    }
    for (WindowHandle top : tops) Grow(top, 1);
  }

  const model::WindowTree& Tree() const { return tree_; }
  const std::vector<WindowHandle>& Windows() const { return windows_; }

 private:
  // Handles cross 0 in some desktops and sit at the ends of the range in
  // others, so that negative handle texts are exercised too.
  static WindowHandle FirstHandle(unsigned seed) {
    constexpr WindowHandle kFirst[] = {0x00010010, -2147480000, -40, 0x7ffe0000};
    return kFirst[seed % 4];
  }

  int Uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
  }
  bool Chance(int percent) { return Uniform(1, 100) <= percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(
        Uniform(0, static_cast<int>(items.size()) - 1))];
  }
  std::string Pick(std::span<const std::string_view> items) {
    return std::string(
        items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))]);
  }
  bool Full() const { return windows_.size() >= kMaxWindows; }

  // Class names of up to 256 characters, the most a class can have, that
  // share their first 240 letters, so that long variable names repeat along
  // a chain.
  void MakeLongNames() {
    std::string letters;
    for (int i = 0; i < 255; ++i) {
      letters += static_cast<char>((Chance(50) ? 'a' : 'A') + Uniform(0, 25));
    }
    std::string other_case = letters;
    for (char& c : other_case) c = static_cast<char>(c ^ 0x20);
    std::string other_tail = letters.substr(0, 245);
    for (int i = 0; i < 10; ++i) other_tail += static_cast<char>('a' + Uniform(0, 25));
    long_names_ = {letters,
                   letters + "Q",
                   letters.substr(0, 254) + "7",
                   other_case,
                   other_tail,
                   letters.substr(0, 250) + "\"\r\n\x01é",
                   letters.substr(0, 240) + "“Ж😀"};
  }

  std::string ClassName() {
    if (Chance(shape_.hostile_percent)) {
      switch (Uniform(0, 2)) {
        case 0:
          return Pick(kHostileNames);
        case 1:
          return Pick(long_names_);
        default: {
          const int length = Chance(10) ? 120 : Uniform(1, 12);
          std::string name;
          for (int i = 0; i < length; ++i) name += Pick(kHostileCharacters);
          return name;
        }
      }
    }
    switch (Uniform(0, 4)) {
      case 0:
        return Pick(kOrdinaryNames);
      case 1:
        return Pick(shape_.keyword_names);
      case 2:
        return Pick(kSameNameNames);
      case 3:
        return RunDependentName();
      default:
        return Pick(kNoLetterNames);
    }
  }

  // A framework's form with its digits drawn, upper or lower case hex.
  std::string RunDependentName() {
    std::string name = Pick(kRunDependentForms);
    const char* digits = Chance(50) ? "0123456789ABCDEF" : "0123456789abcdef";
    for (char& c : name) {
      if (c == '#') c = digits[Uniform(0, 15)];
    }
    return name;
  }

  // Titles that repeat, that look volatile, that are long, that name a
  // document (with a hyphen, an en or an em dash), and none; IDs that repeat
  // among siblings now and then.
  std::string Title() {
    static constexpr std::string_view kTitles[] = {"",
                                                   "",
                                                   "OK",
                                                   "Cancel",
                                                   "ok",
                                                   "Row 3",
                                                   "C:\\Temp",
                                                   "Main window",
                                                   "Ünïcode",
                                                   "Окно",
                                                   "a“b",
                                                   "Edit",
                                                   "Untitled - Fixture",
                                                   "notes.txt - Fixture",
                                                   "Report – Viewer",
                                                   "Документ — Блокнот",
                                                   "a - b - Fixture",
                                                   " - Fixture"};
    return Chance(10) ? std::string(70, 't') : Pick(kTitles);
  }
  std::int32_t Id() { return Chance(30) ? 0 : Uniform(1, 6) * (Chance(5) ? -1 : 1); }

  // Now and then a control whose ID is its own handle, as WinForms makes them.
  WindowHandle Add(WindowHandle parent, std::string class_name) {
    const WindowHandle window = tree_.AddChild(
        parent, {.class_name = std::move(class_name), .text = Title(), .id = Id()});
    if (Chance(10)) tree_.SetControlId(window, window);
    windows_.push_back(window);
    return window;
  }

  // Top-level and owned windows in random order, so that owned windows sit
  // above and below their owners; some top-level windows are second instances
  // (the class of an earlier one), some owners are owned windows themselves.
  void AddTopLevelWindows() {
    int tops = Uniform(1, shape_.top_levels);
    int owned = Uniform(0, shape_.owned);
    std::vector<std::string> top_classes;
    while (tops + owned > 0) {
      if (windows_.empty() || (tops > 0 && Uniform(1, tops + owned) <= tops)) {
        --tops;
        std::string class_name =
            !top_classes.empty() && Chance(40) ? Pick(top_classes) : ClassName();
        top_classes.push_back(class_name);
        windows_.push_back(
            tree_.AddTopLevel({.class_name = std::move(class_name), .text = Title()}));
      } else {
        --owned;
        const model::OwnedStyle style =
            Chance(50) ? model::OwnedStyle::kPopup : model::OwnedStyle::kOverlapped;
        windows_.push_back(tree_.AddOwned(
            Pick(windows_), {.class_name = ClassName(), .text = Title()}, style));
      }
    }
  }

  // Siblings of the chain's class before each chain window, so that levels
  // need further searches; same-class nesting now and then.
  void AddChain(WindowHandle top, int depth) {
    WindowHandle parent = top;
    std::string parent_class = tree_.ClassName(top, 512);
    for (int level = 0; level < depth && !Full(); ++level) {
      std::string class_name = Chance(30) ? parent_class : ClassName();
      for (int i = Uniform(0, 2); i > 0; --i) {
        Add(parent, Chance(50) ? class_name : ClassName());
      }
      const WindowHandle next = Add(parent, class_name);
      for (int i = Uniform(0, 2); i > 0; --i) {
        Add(parent, Chance(50) ? class_name : ClassName());
      }
      parent = next;
      parent_class = std::move(class_name);
    }
  }

  void AddWideLevel(WindowHandle parent, int width) {
    const std::vector<std::string> classes = {ClassName(), ClassName(), ClassName()};
    for (int i = 0; i < width && !Full(); ++i) {
      const WindowHandle child = Add(parent, Pick(classes));
      if (Chance(5)) Add(child, ClassName());
    }
  }

  void Grow(WindowHandle parent, int depth) {
    if (depth > shape_.max_depth) return;
    const std::string parent_class = tree_.ClassName(parent, 512);
    std::string previous;
    for (int i = Uniform(0, shape_.max_children); i > 0 && !Full(); --i) {
      std::string class_name = Chance(20)                        ? parent_class
                               : !previous.empty() && Chance(30) ? previous
                                                                 : ClassName();
      previous = class_name;
      const WindowHandle child = Add(parent, std::move(class_name));
      if (Chance(60)) Grow(child, depth + 1);
    }
  }

  const TreeShape& shape_;
  std::mt19937 random_;
  model::WindowTree tree_;
  std::vector<WindowHandle> windows_;
  std::vector<std::string> long_names_;
};

}  // namespace winscout::testing
