#include "tests/support/vb_replay.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/unicode_text.h"
#include "tests/support/vb_line_reader.h"

namespace winscout::testing {

std::ostream& operator<<(std::ostream& out, const ReplayResult& result) {
  if (!result.Ran()) return out << "replay failed: " << result.error;
  return out << "replay found " << result.found;
}

namespace {

// How a call hands its strings over: whole to a W function, or through the
// ANSI code page. An empty `error` when the arguments fit the declaration.
struct Passing {
  bool unicode = false;
  std::string error;
};

Passing PassingOf(const VbParse& parse, const VbLine& line, std::string_view function) {
  const bool pointers = line.class_name.pointer || line.title.pointer;
  if (parse.declares.empty()) {
    if (pointers)
      return {false, "a pointer argument without a declaration that takes one"};
    return {parse.unicode_calls, ""};
  }
  const auto declare = std::ranges::find_if(parse.declares, [&](const VbDeclare& d) {
    return FoldVbName(d.name) == FoldVbName(function);
  });
  if (declare == parse.declares.end()) {
    return {false, std::string(function) + " is called but not declared"};
  }
  const bool wide = declare->entry.ends_with('W');
  const bool takes_strings = std::ranges::count(declare->parameter_types, "String") > 0;
  if (wide == takes_strings) {
    return {false, declare->entry + " is declared with the wrong string type"};
  }
  // A string expression where a pointer is taken, or the other way round.
  if ((line.class_name.pointer != wide) ||
      (line.title.value && line.title.pointer != wide)) {
    return {false, "the strings do not match " + declare->entry + "'s declaration"};
  }
  return {wide, ""};
}

// How FindWindowLike hands its strings over: its form and the declarations
// of the four functions it calls (or, without Declare lines, the comments on
// the W functions) must agree. `unicode` is for its FindWindowEx,
// `text_unicode` for the texts it reads and compares.
struct HelperStrings {
  bool unicode = false;
  bool text_unicode = false;
  std::string error;
};

HelperStrings HelperPassing(const VbParse& parse) {
  const bool pointers = parse.helper.pointers;
  auto failed = [](std::string error) {
    return HelperStrings{false, false, std::move(error)};
  };
  if (parse.declares.empty()) {
    if (pointers)
      return failed("a pointer argument without a declaration that takes one");
    return {parse.unicode_calls, parse.unicode_text_calls, ""};
  }
  for (std::string_view function :
       {"FindWindowEx", "GetClassName", "GetWindowText", "GetWindowTextLength"}) {
    const auto declare = std::ranges::find_if(parse.declares, [&](const VbDeclare& d) {
      return FoldVbName(d.name) == FoldVbName(function);
    });
    const std::string name(function);
    if (declare == parse.declares.end()) {
      return failed(name + " is called by FindWindowLike but not declared");
    }
    if (declare->entry != name + "A" && declare->entry != name + "W") {
      return failed(name + " is declared as " + declare->entry);
    }
    const bool wide = declare->entry.ends_with('W');
    const bool takes_strings = std::ranges::count(declare->parameter_types, "String") > 0;
    if (function != "GetWindowTextLength" && wide == takes_strings) {
      return failed(declare->entry + " is declared with the wrong string type");
    }
    if (wide != pointers) {
      return failed("FindWindowLike's strings do not match " + declare->entry +
                    "'s declaration");
    }
  }
  return {pointers, pointers, ""};
}

// A window's whole title: its length is not known beforehand, so the room
// for it grows until the text falls short of it.
std::string WholeTitle(const WindowSystem& windows, WindowHandle window) {
  for (int capacity = 256;; capacity *= 4) {
    std::string title = windows.WindowText(window, capacity);
    // UTF-8 takes at least as many bytes as UTF-16 takes units.
    if (title.size() + 1 < static_cast<std::size_t>(capacity) || capacity > (1 << 24)) {
      return title;
    }
  }
}

// The API gets a C string: a Chr(0) would end the text there.
std::optional<std::string_view> CString(const VbString& text) {
  if (!text.value) return std::nullopt;
  return std::string_view(*text.value).substr(0, text.value->find('\0'));
}

WindowHandle FindLike(const WindowSystem& windows, WindowHandle parent,
                      WindowHandle after, const VbLine& line,
                      const HelperStrings& strings) {
  const std::optional<std::string_view> class_name = CString(line.class_name);
  const std::optional<std::string_view> title = CString(line.title);
  // The comparisons are VB's own, of whole Strings, Chr(0) included.
  const std::optional<std::string>& class_start = line.class_start.value;
  const std::optional<std::string>& title_end = line.title_end.value;
  // Through the ANSI code page, a text it cannot hold matches nothing: it
  // reaches FindWindowExA, or is compared with what GetClassNameA and
  // GetWindowTextA give, with question marks in its place.
  auto held = [&](bool unicode,
                  std::initializer_list<std::optional<std::string_view>> texts) {
    return unicode || std::ranges::all_of(texts, [&](const auto& text) {
             return !text || windows.AnsiCodePageHolds(*text);
           });
  };
  if (!held(strings.unicode, {class_name, title}) ||
      !held(strings.text_unicode, {class_start, title_end})) {
    return 0;
  }
  // An empty class name is no class: FindWindowEx finds nothing for it.
  if (class_name && class_name->empty()) return 0;
  for (;;) {
    // FindChild with an empty class name: any class, as FindWindowEx with none.
    after =
        title ? windows.FindChildWithTitle(parent, after, class_name.value_or(""), *title)
              : windows.FindChild(parent, after, class_name.value_or(""));
    if (after == 0) return 0;
    // GetClassName into room for 256 characters, the longest class name.
    if (class_start && !windows.ClassName(after, 257).starts_with(*class_start)) continue;
    if (title_end && !WholeTitle(windows, after).ends_with(*title_end)) continue;
    return after;
  }
}

// The message numbers of the Windows headers, and the flag and the
// notification code the action code needs.
constexpr long long kSetText = 0xC, kGetText = 0xD, kGetTextLength = 0xE, kClose = 0x10,
                    kCommand = 0x111, kGetCheck = 0xF0, kClick = 0xF5,
                    kCbGetCount = 0x146, kCbGetText = 0x148, kCbGetTextLength = 0x149,
                    kCbSelect = 0x14D, kLbGetText = 0x189, kLbGetTextLength = 0x18A,
                    kLbGetCount = 0x18B, kLbSelect = 0x18C, kAbortIfHung = 2,
                    kSelectionChange = 1;
constexpr int kAnyTimeoutMs = 2000;

// A value of the code: a number or a String; StrPtr of a String variable
// names the variable, for a message to write into.
struct Value {
  long long number = 0;
  std::optional<std::string> text;
  std::string buffer;
};

std::size_t Units(std::string_view text) {
  std::size_t units = 0;
  for (char32_t c : CodePoints(text)) units += Utf16Units(c);
  return units;
}

// What each function the action code calls must be declared as, where the
// code declares anything: its entry, library and count of parameters.
struct ActionFunction {
  std::string_view name, entry, lib;
  std::size_t parameters;
};
constexpr ActionFunction kActionFunctions[] = {
    {"SendMessageTimeout", "SendMessageTimeoutW", "user32", 7},
    {"SendMessage", "SendMessageW", "user32", 4},
    {"PostMessage", "PostMessageW", "user32", 4},
    {"GetParent", "GetParent", "user32", 1},
    {"GetDlgCtrlID", "GetDlgCtrlID", "user32", 1},
    {"Sleep", "Sleep", "kernel32", 1}};

class Runner {
 public:
  Runner(const VbParse& parse, const WindowSystem& windows, WindowSystem* acting)
      : parse_(parse), windows_(windows), acting_(acting) {}

  ReplayResult Run() {
    if (!parse_.error.empty()) return {parse_.error};
    // Every statement is read once before any runs, those of the branches
    // not taken too.
    std::vector<std::string> opened;
    for (const VbLine& line : parse_.lines) {
      if (line.kind != VbLineKind::kStatement) continue;
      number_ = line.number;
      std::size_t pc = 0;
      Execute(line.statement, pc);
      if (!error_.empty()) return Failed();
      const std::string_view text = line.statement;
      const bool block_if = text.starts_with("If ") && text.ends_with(" Then");
      if (text.starts_with("For ") || block_if)
        opened.emplace_back(block_if ? "End If" : "Next");
      if (text == "Next" || text == "End If") {
        if (opened.empty() || opened.back() != text)
          return Fail(std::string(text) + " closes nothing");
        opened.pop_back();
      }
    }
    if (!opened.empty()) return {"an " + opened.back() + " is missing"};
    dry_ = false;
    for (std::size_t pc = 0; pc < parse_.lines.size(); ++pc) {
      const VbLine& line = parse_.lines[pc];
      number_ = line.number;
      if (line.kind == VbLineKind::kStatement) {
        Execute(line.statement, pc);
      } else {
        FinderLine(line);
      }
      if (!error_.empty()) return Failed();
    }
    if (!parse_.function.empty()) {
      if (!result_) return {"the function returns nothing"};
      return {"", *result_, printed_};
    }
    if (acting_) return {"", 0, printed_};
    if (last_declared_.empty()) return {"no variable is declared"};
    return {"", static_cast<WindowHandle>(values_.at(last_declared_).number)};
  }

 private:
  ReplayResult Failed() const {
    return {"line " + std::to_string(number_) + ": " + error_};
  }
  ReplayResult Fail(std::string what) {
    error_ = std::move(what);
    return Failed();
  }
  Value Error(std::string what) {
    if (error_.empty()) error_ = std::move(what);
    return {};
  }

  Value* Variable(const std::string& name) {
    const auto found = values_.find(FoldVbName(name));
    if (found == values_.end()) {
      if (!dry_) Error(name + " is not declared");
      return nullptr;
    }
    return &found->second;
  }

  // A variable of the function's name hides it: a compile error.
  void HidesFunction(const std::string& name) {
    if (values_.contains(FoldVbName(name)))
      Error(name + " is a variable, not the function");
  }

  void Declare(const std::string& name, Value value) {
    if (!values_.emplace(FoldVbName(name), std::move(value)).second)
      Error(name + " is declared twice");
  }

  // The searches, as the finder code makes them.
  void FinderLine(const VbLine& line) {
    if (line.kind == VbLineKind::kDeclaration) {
      if (line.type != "String") last_declared_ = FoldVbName(line.variable);
      Declare(line.variable, line.type == "String" ? Value{.text = line.text} : Value{});
      return;
    }
    Value* assigned = Variable(line.variable);
    if (!assigned) return;
    if (line.kind == VbLineKind::kResult) {
      result_ = static_cast<WindowHandle>(assigned->number);
      return;
    }
    WindowHandle parent = 0;
    if (!line.parent.empty()) {
      const Value* found = Variable(line.parent);
      if (!found) return;
      parent = static_cast<WindowHandle>(found->number);
    }
    const auto after =
        static_cast<WindowHandle>(line.after_variable ? assigned->number : 0);
    assigned->number = Search(line, parent, after);
  }

  WindowHandle Search(const VbLine& line, WindowHandle parent, WindowHandle after) {
    if (line.kind == VbLineKind::kDesktop) return windows_.DesktopWindow();
    if (line.kind == VbLineKind::kDialogItem) return windows_.DialogItem(parent, line.id);
    if (line.kind == VbLineKind::kFindLike) {
      if (parse_.helper.number == 0) return Error("FindWindowLike is not in the code"), 0;
      const HelperStrings strings = HelperPassing(parse_);
      if (!strings.error.empty()) return Error(strings.error), 0;
      return FindLike(windows_, parent, after, line, strings);
    }
    const std::string_view function =
        line.kind == VbLineKind::kFindWindow ? "FindWindow" : "FindWindowEx";
    const Passing passing = PassingOf(parse_, line, function);
    if (!passing.error.empty()) return Error(passing.error), 0;
    // The API gets a C string: a Chr(0) would end the text there.
    const std::string_view class_name = *CString(line.class_name);
    const std::optional<std::string_view> title = CString(line.title);
    if (!passing.unicode && (!windows_.AnsiCodePageHolds(class_name) ||
                             (title && !windows_.AnsiCodePageHolds(*title)))) {
      return 0;
    }
    return title ? windows_.FindChildWithTitle(parent, after, class_name, *title)
                 : windows_.FindChild(parent, after, class_name);
  }

  // The statement at `pc`, which a jump moves.
  void Execute(std::string_view text, std::size_t& pc) {
    LineReader in(text);
    if (in.Take("If ")) {
      const Value condition = Expression(in);
      if (!in.Take(" Then")) return void(Error("If without Then"));
      if (in.AtEnd()) {
        if (!dry_ && condition.number == 0) pc = Closing(pc, "End If");
      } else if (!in.Take(" ")) {
        Error("more after Then");
      } else if (dry_ || condition.number != 0) {
        Execute(in.Rest(), pc);
      }
      return;
    }
    if (text == "End If" || text == "End Sub") return;
    if (text == "Exit Sub") {
      while (!dry_ && pc < parse_.lines.size() && parse_.lines[pc].statement != "End Sub")
        ++pc;
      loops_.clear();
      return;
    }
    if (text == "Exit For" || text == "Next") {
      if (dry_) return;
      if (loops_.empty()) return void(Error(std::string(text) + " outside a loop"));
      Loop& loop = loops_.back();
      Value* counter = Variable(loop.variable);
      if (text == "Next" && counter && ++counter->number <= loop.last) {
        pc = loop.start;
      } else {
        pc = Closing(loop.start, "Next");
        loops_.pop_back();
      }
      return;
    }
    if (in.Take("Public Sub ")) {
      // Its variables are its own.
      if (!in.Name() || !in.Take("()") || !in.AtEnd())
        Error("a Sub heading of another form");
      if (!dry_) values_.clear();
      return;
    }
    if (in.Take("Debug.Print ")) {
      const Value value = Expression(in);
      if (!dry_)
        printed_.push_back(value.text ? *value.text : std::to_string(value.number));
    } else if (in.Take("Const ")) {
      const auto name = in.Name();
      if (!name || !in.Take(" As Long = ")) return void(Error("a Const of another form"));
      const Value value = Expression(in);
      if (!dry_) Declare(*name, value);
    } else if (in.Take("For ")) {
      const auto name = in.Name();
      if (!name || !in.Take(" = ")) return void(Error("a For of another form"));
      const Value first = Expression(in);
      const Value last = in.Take(" To ") ? Expression(in) : Error("For without To");
      if (!in.AtEnd()) return void(Error("a For of another form"));
      Value* counter = dry_ ? nullptr : Variable(*name);
      if (!counter) return;
      counter->number = first.number;
      if (counter->number > last.number) {
        pc = Closing(pc, "Next");
      } else {
        loops_.push_back({pc, *name, last.number});
      }
      return;
    } else {
      const std::optional<std::string> name = in.Name();
      if (!name) return void(Error("no statement"));
      if (in.Take(" = ")) {
        const Value value = Expression(in);
        Value* assigned = Variable(*name);
        if (assigned && !dry_) {
          if (assigned->text.has_value() != value.text.has_value())
            return void(Error(*name + " is assigned a value of another type"));
          *assigned = value;
        }
      } else if (!in.Take(" ") || !Call(*name, in, false)) {
        return void(Error("no statement"));
      }
    }
    if (!in.AtEnd() && error_.empty()) Error("more after the statement");
  }

  // The line of the statement that closes the one at `pc`.
  std::size_t Closing(std::size_t pc, std::string_view close) const {
    int depth = 0;
    for (std::size_t i = pc + 1; i < parse_.lines.size(); ++i) {
      const std::string& text = parse_.lines[i].statement;
      const bool opens = close == "Next"
                             ? text.starts_with("For ")
                             : text.starts_with("If ") && text.ends_with(" Then");
      if (opens) ++depth;
      if (text == close && depth-- == 0) return i;
    }
    return parse_.lines.size();
  }

  // And, below the comparisons, below + and -, below *.
  Value Expression(LineReader& in) {
    Value value = Comparison(in);
    while (in.Take(" And ")) value = {value.number & Comparison(in).number};
    return value;
  }
  Value Comparison(LineReader& in) {
    const Value left = Sum(in);
    for (const bool equal : {true, false}) {
      if (in.Take(equal ? " = " : " <> ")) {
        const Value right = Sum(in);
        const bool same = left.text || right.text ? left.text == right.text
                                                  : left.number == right.number;
        return {same == equal ? -1 : 0};
      }
    }
    return left;
  }
  Value Sum(LineReader& in) {
    Value value = Product(in);
    for (;;) {
      if (in.Take(" + ")) {
        value.number += Product(in).number;
      } else if (in.Take(" - ")) {
        value.number -= Product(in).number;
      } else {
        return value;
      }
    }
  }
  Value Product(LineReader& in) {
    Value value = Primary(in);
    while (in.Take(" * ")) value.number *= Primary(in).number;
    return value;
  }

  Value Primary(LineReader& in) {
    if (in.Take("-")) return {-Primary(in).number};
    if (in.Take("(")) {
      const Value value = Expression(in);
      return in.Take(")") ? value : Error("a ( without its )");
    }
    if (in.Rest().starts_with("&H")) {
      const auto number = in.HexNumber();
      return number ? Value{*number} : Error("a malformed hexadecimal number");
    }
    if (in.Rest().starts_with("\"") || in.Rest().starts_with("Chr(") ||
        in.Rest().starts_with("ChrW(")) {
      auto text = in.StringExpression();
      return text ? Value{.text = std::move(*text)} : Error("a malformed string");
    }
    if (!in.Rest().empty() && in.Rest()[0] >= '0' && in.Rest()[0] <= '9') {
      const auto number = in.Integer();
      return number ? Value{*number} : Error("a malformed number");
    }
    const std::optional<std::string> name = in.Name();
    if (!name) return Error("no value");
    if (in.Take("$(")) {
      HidesFunction(*name);
      const Value first = Expression(in);
      const Value second = in.Take(", ") ? Expression(in) : Error("one argument too few");
      if (!in.Take(")")) return Error("a ( without its )");
      if (dry_) return {};
      if (*name == "String" && !first.text && second.number == 0 && !second.text) {
        return {.text = std::string(static_cast<std::size_t>(std::max(0LL, first.number)),
                                    '\0')};
      }
      if (*name == "Left" && first.text && !second.text) {
        if (second.number < 0) return Error("Left$ of a negative length");
        return {.text = CutToUtf16Units(*first.text,
                                        static_cast<std::size_t>(second.number))};
      }
      return Error(*name + "$ is not known here, or not with these arguments");
    }
    if (in.Take("(")) {
      Value value;
      if (!Call(*name, in, true, &value))
        return Error("a call of " + *name + " of another form");
      return value;
    }
    const Value* variable = Variable(*name);
    return variable ? *variable : Value{};
  }

  // A call: with its arguments in parentheses where it gives a value.
  bool Call(const std::string& name, LineReader& in, bool parentheses,
            Value* result = nullptr) {
    HidesFunction(name);
    if (name == "FindTarget" && parentheses) {
      if (!in.Take(")")) return false;
      if (!dry_ && !result_) Error("FindTarget has not run");
      *result = {result_.value_or(0)};
      return true;
    }
    if (name == "StrPtr" && parentheses) {
      LineReader copy = in;
      if (auto variable = in.Name(); variable && in.Take(")")) {
        const Value* value = Variable(*variable);
        if (value && !value->text) return Error(*variable + " is no String"), true;
        *result =
            value ? Value{.text = value->text, .buffer = FoldVbName(*variable)} : Value{};
        return true;
      }
      in = copy;
      *result = Expression(in);
      if (!dry_ && !result->text) Error("StrPtr of a number");
      return in.Take(")");
    }
    const auto function =
        std::ranges::find(kActionFunctions, name, &ActionFunction::name);
    if (function == std::end(kActionFunctions))
      return Error(name + " is not known here"), true;
    std::vector<Value> arguments;
    std::string by_reference;
    while (arguments.size() < function->parameters) {
      if (!arguments.empty() && !in.Take(", ")) return false;
      // SendMessageTimeout's answer goes into a variable.
      if (arguments.size() == 6) {
        const auto variable = in.Name();
        if (!variable) return false;
        by_reference = *variable;
        arguments.emplace_back();
      } else {
        arguments.push_back(Expression(in));
      }
    }
    if (parentheses && !in.Take(")")) return false;
    if (!parse_.declares.empty()) {
      const auto declare = std::ranges::find_if(parse_.declares, [&](const VbDeclare& d) {
        return FoldVbName(d.name) == FoldVbName(name);
      });
      if (declare == parse_.declares.end())
        return Error(name + " is called but not declared"), true;
      if (declare->entry != function->entry || declare->lib != function->lib ||
          declare->parameter_types.size() != function->parameters ||
          std::ranges::count(declare->by_reference, true) !=
              (by_reference.empty() ? 0 : 1) ||
          (!by_reference.empty() && !declare->by_reference.back())) {
        return Error(name + " is declared otherwise than it is called"), true;
      }
    }
    if (dry_ || !error_.empty()) return true;
    const Value answer = Act(name, arguments);
    if (!by_reference.empty() && answer.number != 0) {
      Value* variable = Variable(by_reference);
      if (variable && variable->text) Error(by_reference + " is a String");
      if (variable && answer.text) variable->number = std::stoll(*answer.text);
    }
    if (result) *result = {answer.number};
    return true;
  }

  // What the function does; SendMessageTimeout's answer in `text`.
  Value Act(const std::string& name, const std::vector<Value>& a) {
    auto handle = [&](std::size_t i) { return static_cast<WindowHandle>(a[i].number); };
    if (name == "Sleep") return {};
    if (name == "GetParent") return {windows_.Parent(handle(0))};
    if (name == "GetDlgCtrlID") return {windows_.ControlId(handle(0))};
    const long long message = a[1].number;
    if (name == "PostMessage") {
      if (message == kClick) return {acting_->PostClick(handle(0))};
      if (message == kClose) return {acting_->PostClose(handle(0))};
      if (message == kCommand)  // a menu command
        return {acting_->DeliverMessage(handle(0), kCommand,
                                        static_cast<std::uint64_t>(a[2].number),
                                        a[3].number, true, 0)};
      return Error("posts message " + std::to_string(message));
    }
    if (name == "SendMessage") {
      if (message != kCommand) return Error("sends message " + std::to_string(message));
      return Command(handle(0), a[2].number, handle(3));
    }
    if ((a[4].number & kAbortIfHung) == 0 || a[5].number <= 0)
      return Error("a send that a hung window would hold");
    const int timeout = static_cast<int>(a[5].number);
    const WindowHandle window = handle(0);
    auto answered = [](long long result) { return Value{1, std::to_string(result)}; };
    switch (message) {
      case kGetTextLength:
      case kGetText: {
        const std::optional<std::string> text = acting_->LiveText(window, timeout);
        if (!text) return {};
        if (message == kGetTextLength)
          return answered(static_cast<long long>(Units(*text)));
        return Write(a[3], a[2].number, *text);
      }
      case kSetText: {
        const std::string text =
            a[3].text.value_or("").substr(0, a[3].text.value_or("").find('\0'));
        if (!a[3].text) return Error("WM_SETTEXT without a text");
        return acting_->SetLiveText(window, text, timeout) ? answered(1) : Value{};
      }
      case kGetCheck: {
        const std::optional<bool> checked = acting_->ButtonChecked(window, timeout);
        return checked ? answered(*checked ? 1 : 0) : Value{};
      }
      default:
        break;
    }
    const bool combo = message >= kCbGetCount && message <= kCbSelect;
    const std::optional<ItemRows> rows =
        acting_->Items(window, combo ? ItemList::kComboBox : ItemList::kListBox, timeout);
    if (!rows) return {};
    const long long count = static_cast<long long>(rows->size());
    const long long item = a[2].number;
    const bool held = item >= 0 && item < count;
    switch (message) {
      case kCbGetCount:
      case kLbGetCount:
        return answered(count);
      case kCbGetTextLength:
      case kLbGetTextLength:
        return answered(held ? static_cast<long long>(Units((*rows)[item][0])) : -1);
      case kCbGetText:
      case kLbGetText:
        if (!held) return answered(-1);
        return Write(a[3], static_cast<long long>(Units((*rows)[item][0])) + 1,
                     (*rows)[item][0]);
      case kCbSelect:
      case kLbSelect: {
        if (item != -1 || !a[3].text)
          return Error("a selection not searched from the start");
        const std::string wanted = a[3].text->substr(0, a[3].text->find('\0'));
        const auto found = std::ranges::find_if(*rows, [&](const auto& row) {
          return FoldVbName(row[0]).starts_with(FoldVbName(wanted));
        });
        if (found == rows->end()) return answered(-1);
        choice_ = {window, combo ? ItemList::kComboBox : ItemList::kListBox, wanted};
        return answered(found - rows->begin());
      }
      default:
        return Error("sends message " + std::to_string(message));
    }
  }

  // The text written into the buffer that StrPtr named, at most `capacity`
  // units with the terminator; the count written as the answer.
  Value Write(const Value& pointer, long long capacity, const std::string& text) {
    Value* buffer = pointer.buffer.empty() ? nullptr : &values_.at(pointer.buffer);
    if (!buffer || capacity < 1 ||
        Units(*buffer->text) < static_cast<std::size_t>(capacity))
      return Error("a text written past the end of its buffer");
    const std::string copied =
        CutToUtf16Units(text, static_cast<std::size_t>(capacity - 1));
    buffer->text = copied + std::string(Units(*buffer->text) - Units(copied), '\0');
    return {1, std::to_string(Units(copied))};
  }

  // WM_COMMAND to the parent, as a user's choice sends it after the
  // selection.
  Value Command(WindowHandle parent, long long w, WindowHandle control) {
    if (!choice_ || choice_->window != control)
      return Error("WM_COMMAND without a selection before it");
    if (parent != windows_.Parent(control) ||
        (w & 0xFFFF) != (windows_.ControlId(control) & 0xFFFF) ||
        (w >> 16) != kSelectionChange) {
      return Error("WM_COMMAND that is not the selection change of the control");
    }
    const Choice choice = *std::exchange(choice_, std::nullopt);
    return {acting_->ChooseItem(control, choice.list, choice.text, kAnyTimeoutMs)};
  }

  struct Loop {
    std::size_t start;
    std::string variable;
    long long last;
  };
  struct Choice {
    WindowHandle window;
    ItemList list;
    std::string text;
  };

  const VbParse& parse_;
  const WindowSystem& windows_;
  WindowSystem* acting_;
  bool dry_ = true;
  int number_ = 0;
  std::string error_;
  std::unordered_map<std::string, Value> values_;
  std::string last_declared_;
  std::optional<WindowHandle> result_;
  std::vector<Loop> loops_;
  std::optional<Choice> choice_;
  std::vector<std::string> printed_;
};

}  // namespace

ReplayResult ReplayFinderCode(std::string_view text, const WindowSystem& windows) {
  return Runner(ParseFinderCode(text), windows, nullptr).Run();
}

ReplayResult ReplayActionCode(std::string_view text, WindowSystem& windows, bool vba7) {
  return Runner(ParseFinderCode(text, vba7, true), windows, &windows).Run();
}

}  // namespace winscout::testing
