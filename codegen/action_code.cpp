#include "codegen/action_code.h"

#include <algorithm>
#include <functional>
#include <initializer_list>

#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/finder_language.h"
#include "codegen/python_emitter.h"
#include "codegen/visual_basic.h"

namespace winscout::codegen {
namespace {

// How many times the code searches, and how long it sleeps between: about
// kWaitSeconds in all.
constexpr int kTries = kWaitSeconds * 10;
constexpr int kTryPauseMs = 100;
const std::string kTimeout = std::to_string(kAnswerTimeoutMs);
const std::string kGiveUp =
    "The window was not found within " + std::to_string(kWaitSeconds) + " seconds.";

bool SameName(std::string_view a, std::string_view b, bool ignore_case) {
  if (!ignore_case) return a == b;
  auto lower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

// The code's own local names, each numbered where a level's variable has it.
class LocalNames {
 public:
  LocalNames(const std::vector<std::string>& taken, bool ignore_case)
      : taken_(taken), ignore_case_(ignore_case) {}
  std::string operator()(const std::string& base) {
    std::string name = base;
    for (int n = 2; Taken(name); ++n) name = base + std::to_string(n);
    taken_.push_back(name);
    return name;
  }

 private:
  bool Taken(std::string_view name) const {
    return std::ranges::any_of(
        taken_, [&](const std::string& t) { return SameName(t, name, ignore_case_); });
  }
  std::vector<std::string> taken_;
  bool ignore_case_;
};

// Lines written at one indent, which blocks deepen.
class Writer {
 public:
  Writer(std::vector<std::string>& lines, std::string indent)
      : lines_(lines), indent_(std::move(indent)) {}
  Writer& operator()(std::string_view line) {
    lines_.push_back(line.empty() ? std::string() : indent_ + std::string(line));
    return *this;
  }
  void In() { indent_ += "    "; }
  void Out() { indent_.resize(indent_.size() - 4); }

 private:
  std::vector<std::string>& lines_;
  std::string indent_;
};

bool IsCombo(const ActionPlan& plan) { return plan.kind == TargetKind::kComboBox; }
bool IsView(const ActionPlan& plan) {
  return plan.kind == TargetKind::kListView || plan.kind == TargetKind::kTreeView;
}

// What the messages of item lists are called, combo box or list box.
struct ListWords {
  std::string select, error, selection_change, count, length, text;
};
ListWords WordsOf(const ActionPlan& plan) {
  return IsCombo(plan) ? ListWords{"CB_SELECTSTRING", "CB_ERR",          "CBN_SELCHANGE",
                                   "CB_GETCOUNT",     "CB_GETLBTEXTLEN", "CB_GETLBTEXT"}
                       : ListWords{"LB_SELECTSTRING", "LB_ERR",        "LBN_SELCHANGE",
                                   "LB_GETCOUNT",     "LB_GETTEXTLEN", "LB_GETTEXT"};
}

// The values of the message constants that the languages without the
// Windows headers define.
// clang-format off
constexpr std::pair<std::string_view, int> kConstants[] = {
    {"WM_SETTEXT", 0xc}, {"WM_GETTEXT", 0xd}, {"WM_GETTEXTLENGTH", 0xe},
    {"WM_CLOSE", 0x10}, {"WM_COMMAND", 0x111}, {"BM_GETCHECK", 0xf0},
    {"BM_CLICK", 0xf5}, {"CB_GETCOUNT", 0x146}, {"CB_GETLBTEXT", 0x148},
    {"CB_GETLBTEXTLEN", 0x149}, {"CB_SELECTSTRING", 0x14d}, {"LB_GETTEXT", 0x189},
    {"LB_GETTEXTLEN", 0x18a}, {"LB_GETCOUNT", 0x18b}, {"LB_SELECTSTRING", 0x18c},
    {"CBN_SELCHANGE", 1}, {"LBN_SELCHANGE", 1}, {"SMTO_ABORTIFHUNG", 2},
    {"BST_UNCHECKED", 0}, {"BST_CHECKED", 1}, {"CB_ERR", -1}, {"LB_ERR", -1}};
// clang-format on

int ValueOf(std::string_view name) {
  for (const auto& [known, value] : kConstants) {
    if (known == name) return value;
  }
  return 0;
}

// A constant's value, small ones in decimal, the others in hexadecimal with
// the language's prefix.
std::string ConstantValue(std::string_view name, std::string_view hex_prefix) {
  const int value = ValueOf(name);
  if (value < 10) return std::to_string(value);
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (int v = value; v > 0; v >>= 4) hex.insert(hex.begin(), kDigits[v & 0xf]);
  return std::string(hex_prefix) + hex;
}
// The constants that the plan's action uses.
std::vector<std::string_view> ConstantsOf(const ActionPlan& plan) {
  switch (plan.action) {
    case Action::kReadText:
      return {"WM_GETTEXT", "WM_GETTEXTLENGTH", "SMTO_ABORTIFHUNG"};
    case Action::kClose:
      return {"WM_CLOSE"};
    case Action::kClick:
      return {"BM_CLICK"};
    case Action::kCheck:
    case Action::kUncheck:
      return {"BM_GETCHECK", "BM_CLICK", "SMTO_ABORTIFHUNG",
              plan.action == Action::kCheck ? "BST_CHECKED" : "BST_UNCHECKED"};
    case Action::kSetText:
      return {"WM_SETTEXT", "SMTO_ABORTIFHUNG"};
    case Action::kChooseItem:
      return {"WM_COMMAND", "SMTO_ABORTIFHUNG"};
    case Action::kReadItems:
      return {};
    case Action::kFindOnly:
      break;
  }
  return {};
}

std::vector<std::string> ConstantNames(const ActionPlan& plan) {
  std::vector<std::string> names;
  for (std::string_view name : ConstantsOf(plan)) names.emplace_back(name);
  const ListWords list = WordsOf(plan);
  if (plan.action == Action::kChooseItem) {
    names.insert(names.begin(), {list.select, list.error, list.selection_change});
  }
  if (plan.action == Action::kReadItems && !IsView(plan)) {
    names.insert(names.begin(),
                 {list.count, list.length, list.text, list.error, "SMTO_ABORTIFHUNG"});
  }
  std::ranges::sort(names);
  return names;
}

// The functions the action calls beyond the finder's.
struct ActionCalls {
  bool send_timeout = false, send = false, post = false, parent = false, sleep = false;
};
ActionCalls CallsOf(const ActionPlan& plan) {
  ActionCalls calls;
  calls.sleep = plan.wait;
  switch (plan.action) {
    case Action::kClose:
    case Action::kClick:
      calls.post = true;
      break;
    case Action::kCheck:
    case Action::kUncheck:
      calls.post = calls.send_timeout = true;
      break;
    case Action::kChooseItem:
      calls.send_timeout = calls.send = calls.parent = true;
      break;
    case Action::kReadText:
    case Action::kSetText:
    case Action::kReadItems:
      calls.send_timeout = true;
      break;
    case Action::kFindOnly:
      break;
  }
  return calls;
}

constexpr std::string_view kHungNote =
    "Asked with a time limit, so that a hung window cannot hold this program.";
constexpr std::string_view kClickNote =
    "Posted, not sent: a button that opens a modal dialog would hold this program "
    "until the dialog closed.";
constexpr std::string_view kCheckNote =
    "Clicked only when its state differs, so that its program hears of it as of a "
    "user's click.";
constexpr std::string_view kChooseNote =
    "Chosen by the text it begins with; then its parent is told as of a user's "
    "choice, which the selection alone does not tell it.";
constexpr std::string_view kWaitNote =
    "Searched again until the window is there, for up to 10 seconds.";
constexpr std::string_view kViewNote =
    "The items live in the control's process: the item structure and its text go "
    "into memory there, laid out for that process (32- or 64-bit), and are freed "
    "again.";

// ---------------------------------------------------------------------------
// C++: statements in the caller's function, the Windows headers at hand.

void CppViewItems(Writer& w, const ActionPlan& plan, const std::string& t) {
  const bool list = plan.kind == TargetKind::kListView;
  w("// " + std::string(kViewNote));
  w(list ? "// One row an item, one text a column (#include <commctrl.h>, <string>, "
           "<vector>)."
         : "// Parents before their children (#include <commctrl.h>, <string>, "
           "<vector>).");
  w(list ? "std::vector<std::vector<std::wstring>> items;"
         : "std::vector<std::wstring> items;");
  w("DWORD processId = 0;");
  w("if (" + t + ") GetWindowThreadProcessId(" + t + ", &processId);");
  w("HANDLE process = processId ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | "
    "PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : nullptr;");
  w("BOOL wow64 = FALSE;");
  w("const bool bits32 = process && (sizeof(void*) == 4 || (IsWow64Process(process, "
    "&wow64) && wow64));");
  w("const SIZE_T chars = 32768;  // the longest item text read");
  w("char* remote = process ? static_cast<char*>(VirtualAllocEx(process, nullptr, 128 + "
    "chars * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) : nullptr;");
  const std::string send = "SendMessageTimeoutW(" + t + ", ";
  const std::string limits = ", SMTO_ABORTIFHUNG, " + kTimeout + ", ";
  // Writes the structure, asks, and reads the text back.
  auto read_text = [&](std::string_view message, std::string_view w_param,
                       std::string_view buffer,
                       std::initializer_list<std::string_view> copies) {
    w("const ULONGLONG textAddress = reinterpret_cast<UINT_PTR>(remote) + 128;");
    w("const int capacity = static_cast<int>(chars);");
    for (std::string_view copy : copies) w(copy);
    w("std::wstring text(chars, L'\\0');");
    w("DWORD_PTR length = 0;");
    w("if (!WriteProcessMemory(process, remote, " + std::string(buffer) + ", sizeof(" +
      std::string(buffer) + "), nullptr) ||");
    w("    !" + send + std::string(message) + ", " + std::string(w_param) +
      ", reinterpret_cast<LPARAM>(remote)" + limits + "&length) ||");
    w("    !ReadProcessMemory(process, remote + 128, text.data(), chars * "
      "sizeof(wchar_t), nullptr)) {");
    w("    break;");
    w("}");
    w("text[chars - 1] = L'\\0';");
    w("text.resize(text.find(L'\\0'));");
  };
  if (list) {
    w("DWORD_PTR count = 0, header = 0, columns = 1;");
    w("if (remote && " + send + "LVM_GETITEMCOUNT, 0, 0" + limits + "&count) &&");
    w("    " + send + "LVM_GETHEADER, 0, 0" + limits + "&header)) {");
    w.In();
    w("// Only a report view has a header, which counts the columns.");
    w("if (header && (!SendMessageTimeoutW(reinterpret_cast<HWND>(header), "
      "HDM_GETITEMCOUNT, 0, 0" +
      limits + "&columns) || static_cast<LRESULT>(columns) < 1)) {");
    w("    columns = 1;");
    w("}");
    w("for (DWORD_PTR item = 0; item < count; ++item) {");
    w.In();
    w("std::vector<std::wstring> row;");
    w("for (DWORD_PTR column = 0; column < columns; ++column) {");
    w.In();
    w("// LVITEMW: mask, iItem, iSubItem, then pszText and cchTextMax where the "
      "bitness puts them.");
    w("unsigned char lvItem[128] = {};");
    w("const UINT head[3] = {LVIF_TEXT, static_cast<UINT>(item), "
      "static_cast<UINT>(column)};");
    read_text("LVM_GETITEMTEXTW", "item", "lvItem",
              {"CopyMemory(lvItem, head, sizeof(head));",
               "CopyMemory(lvItem + (bits32 ? 20 : 24), &textAddress, bits32 ? 4 : 8);",
               "CopyMemory(lvItem + (bits32 ? 24 : 32), &capacity, sizeof(capacity));"});
    w("row.push_back(text);");
    w.Out();
    w("}");
    w("items.push_back(row);");
    w.Out();
    w("}");
    w.Out();
    w("}");
  } else {
    w("std::vector<DWORD_PTR> pending;");
    w("DWORD_PTR root = 0;");
    w("if (remote && " + send + "TVM_GETNEXTITEM, TVGN_ROOT, 0" + limits +
      "&root) && root) pending.push_back(root);");
    w("while (!pending.empty() && items.size() < 1000000) {");
    w.In();
    w("const DWORD_PTR item = pending.back();");
    w("pending.pop_back();");
    w("// TVITEMW: mask, then hItem, pszText and cchTextMax where the bitness puts "
      "them.");
    w("unsigned char tvItem[128] = {};");
    w("const UINT mask = TVIF_TEXT | TVIF_HANDLE;");
    w("const ULONGLONG handle = item;");
    read_text("TVM_GETITEMW", "0", "tvItem",
              {"CopyMemory(tvItem, &mask, sizeof(mask));",
               "CopyMemory(tvItem + (bits32 ? 4 : 8), &handle, bits32 ? 4 : 8);",
               "CopyMemory(tvItem + (bits32 ? 16 : 24), &textAddress, bits32 ? 4 : 8);",
               "CopyMemory(tvItem + (bits32 ? 20 : 32), &capacity, sizeof(capacity));"});
    w("items.push_back(text);");
    w("DWORD_PTR next = 0, child = 0;");
    w("if (" + send + "TVM_GETNEXTITEM, TVGN_NEXT, item" + limits +
      "&next) && next) pending.push_back(next);");
    w("if (" + send + "TVM_GETNEXTITEM, TVGN_CHILD, item" + limits +
      "&child) && child) pending.push_back(child);");
    w.Out();
    w("}");
  }
  w("if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);");
  w("if (process) CloseHandle(process);");
}

ActionCode SpellCpp(const ActionPlan& plan, const std::vector<std::string>& names) {
  ActionCode code;
  const std::string& t = names.back();
  if (plan.wait) {
    std::string declare = "HWND ";
    for (std::size_t i = 0; i < names.size(); ++i) {
      declare += (i ? ", " : "") + names[i] + " = nullptr";
    }
    code.before = {
        declare + ";", "// " + std::string(kWaitNote),
        "for (int tries = 0; tries < " + std::to_string(kTries) + "; ++tries) {"};
    code.inner_indent = "    ";
    code.after = {"    if (" + t + ") break;",
                  "    Sleep(" + std::to_string(kTryPauseMs) + ");", "}",
                  "if (!" + t + ") OutputDebugStringW(L\"" + kGiveUp + "\\n\");"};
  }
  Writer w(code.after, "");
  const std::string send = "SendMessageTimeoutW(" + t + ", ";
  const std::string limits = ", SMTO_ABORTIFHUNG, " + kTimeout + ", ";
  switch (plan.action) {
    case Action::kFindOnly:
      break;
    case Action::kReadText:
      w("// " + std::string(kHungNote) + " (#include <string>)");
      w("std::wstring text;");
      w("DWORD_PTR length = 0;");
      w("if (" + t + " && " + send + "WM_GETTEXTLENGTH, 0, 0" + limits + "&length)) {");
      w("    text.resize(length + 1);");
      w("    DWORD_PTR copied = 0;");
      w("    if (!" + send +
        "WM_GETTEXT, text.size(), "
        "reinterpret_cast<LPARAM>(text.data())" +
        limits + "&copied)) copied = 0;");
      w("    text.resize(copied < length ? copied : length);");
      w("}");
      break;
    case Action::kClose:
      w("if (" + t + ") PostMessageW(" + t + ", WM_CLOSE, 0, 0);");
      break;
    case Action::kClick:
      w("// " + std::string(kClickNote));
      w("if (" + t + ") PostMessageW(" + t + ", BM_CLICK, 0, 0);");
      break;
    case Action::kCheck:
    case Action::kUncheck:
      w("// " + std::string(kCheckNote));
      w("DWORD_PTR state = 0;");
      w("if (" + t + " && " + send + "BM_GETCHECK, 0, 0" + limits + "&state) &&");
      w(std::string("    state != ") +
        (plan.action == Action::kCheck ? "BST_CHECKED" : "BST_UNCHECKED") + ") {");
      w("    PostMessageW(" + t + ", BM_CLICK, 0, 0);");
      w("}");
      break;
    case Action::kSetText:
      w("if (" + t + ") " + send + "WM_SETTEXT, 0, reinterpret_cast<LPARAM>(" +
        CppWideLiteral(plan.text) + ")" + limits + "nullptr);");
      break;
    case Action::kChooseItem: {
      const ListWords list = WordsOf(plan);
      w("// " + std::string(kChooseNote));
      w("DWORD_PTR index = 0;");
      w("if (" + t + " && " + send + list.select +
        ", static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(" +
        CppWideLiteral(plan.text) + ")" + limits + "&index) &&");
      w("    static_cast<LRESULT>(index) != " + list.error + ") {");
      w("    SendMessageW(GetParent(" + t + "), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(" +
        t + "), " + list.selection_change + "), reinterpret_cast<LPARAM>(" + t + "));");
      w("}");
      break;
    }
    case Action::kReadItems: {
      if (IsView(plan)) {
        CppViewItems(w, plan, t);
        break;
      }
      const ListWords list = WordsOf(plan);
      w("// " + std::string(kHungNote) + " (#include <string>, <vector>)");
      w("std::vector<std::wstring> items;");
      w("DWORD_PTR count = 0;");
      w("if (" + t + " && " + send + list.count + ", 0, 0" + limits + "&count) &&");
      w("    static_cast<LRESULT>(count) != " + list.error + ") {");
      w("    for (DWORD_PTR item = 0; item < count; ++item) {");
      w("        DWORD_PTR length = 0, copied = 0;");
      w("        if (!" + send + list.length + ", item, 0" + limits + "&length) ||");
      w("            static_cast<LRESULT>(length) == " + list.error + ") break;");
      w("        std::wstring text(length + 1, L'\\0');");
      w("        if (!" + send + list.text +
        ", item, reinterpret_cast<LPARAM>(text.data())" + limits + "&copied) ||");
      w("            static_cast<LRESULT>(copied) == " + list.error + ") break;");
      w("        text.resize(copied < length ? copied : length);");
      w("        items.push_back(text);");
      w("    }");
      w("}");
      break;
    }
  }
  return code;
}

// ---------------------------------------------------------------------------
// Visual Basic and VBA: the W functions, texts through StrPtr.

}  // namespace

std::vector<std::string> VisualBasicActionDeclarations(const ActionPlan& plan,
                                                       bool vba7) {
  const ActionCalls calls = CallsOf(plan);
  const std::string declare =
      vba7 ? "Private Declare PtrSafe Function " : "Private Declare Function ";
  const std::string handle = vba7 ? "LongPtr" : "Long";
  const std::string message = "(ByVal hWnd As " + handle +
                              ", ByVal Msg As Long, ByVal wParam As " + handle +
                              ", ByVal lParam As " + handle;
  std::vector<std::string> lines;
  if (calls.send_timeout) {
    lines.push_back(
        declare + "SendMessageTimeout Lib \"user32\" Alias \"SendMessageTimeoutW\" " +
        message + ", ByVal fuFlags As Long, ByVal uTimeout As Long, lpdwResult As " +
        handle + ") As " + handle);
  }
  if (calls.send) {
    lines.push_back(declare + "SendMessage Lib \"user32\" Alias \"SendMessageW\" " +
                    message + ") As " + handle);
  }
  if (calls.post) {
    lines.push_back(declare + "PostMessage Lib \"user32\" Alias \"PostMessageW\" " +
                    message + ") As Long");
  }
  if (calls.parent) {
    lines.push_back(declare + "GetParent Lib \"user32\" (ByVal hWnd As " + handle +
                    ") As " + handle);
    lines.push_back(declare + "GetDlgCtrlID Lib \"user32\" (ByVal hWnd As " + handle +
                    ") As Long");
  }
  if (calls.sleep) {
    lines.push_back(
        std::string(vba7 ? "Private Declare PtrSafe Sub " : "Private Declare Sub ") +
        "Sleep Lib \"kernel32\" (ByVal dwMilliseconds As Long)");
  }
  return lines;
}

namespace {

// The locals of a Visual Basic action: those that Windows writes a
// pointer-sized result into, and the texts.
struct VbLocals {
  std::vector<std::string> results;
  std::vector<std::string> texts;
  std::vector<std::string> counters;
};

// The action's statements on the window `h`, which is not 0.
void VisualBasicBody(Writer& w, const ActionPlan& plan, const std::string& h,
                     LocalNames& local, VbLocals& locals) {
  const std::string limits = ", SMTO_ABORTIFHUNG, " + kTimeout + ", ";
  auto result = [&](const std::string& base) {
    locals.results.push_back(local(base));
    return locals.results.back();
  };
  auto text_local = [&](const std::string& base) {
    locals.texts.push_back(local(base));
    return locals.texts.back();
  };
  switch (plan.action) {
    case Action::kFindOnly:
      break;
    case Action::kReadText: {
      const std::string length = result("Length"), copied = result("Copied");
      const std::string text = text_local("Text");
      w("' " + std::string(kHungNote));
      w("If SendMessageTimeout(" + h + ", WM_GETTEXTLENGTH, 0, 0" + limits + length +
        ") <> 0 Then");
      w("    " + text + " = String$(" + length + " + 1, 0)");
      w("    If SendMessageTimeout(" + h + ", WM_GETTEXT, " + length + " + 1, StrPtr(" +
        text + ")" + limits + copied + ") = 0 Then " + copied + " = 0");
      w("    " + text + " = Left$(" + text + ", " + copied + ")");
      w("End If");
      w("Debug.Print " + text);
      break;
    }
    case Action::kClose:
      w("PostMessage " + h + ", WM_CLOSE, 0, 0");
      break;
    case Action::kClick:
      w("' " + std::string(kClickNote));
      w("PostMessage " + h + ", BM_CLICK, 0, 0");
      break;
    case Action::kCheck:
    case Action::kUncheck: {
      const std::string state = result("State");
      w("' " + std::string(kCheckNote));
      w("If SendMessageTimeout(" + h + ", BM_GETCHECK, 0, 0" + limits + state +
        ") <> 0 Then");
      w("    If " + state + " <> " +
        (plan.action == Action::kCheck ? "BST_CHECKED" : "BST_UNCHECKED") +
        " Then PostMessage " + h + ", BM_CLICK, 0, 0");
      w("End If");
      break;
    }
    case Action::kSetText: {
      const std::string done = result("Done");
      w("SendMessageTimeout " + h + ", WM_SETTEXT, 0, StrPtr(" +
        VisualBasicUnicodeLiteral(plan.text) + ")" + limits + done);
      break;
    }
    case Action::kChooseItem: {
      const ListWords list = WordsOf(plan);
      const std::string index = result("Index");
      w("' " + std::string(kChooseNote));
      w("If SendMessageTimeout(" + h + ", " + list.select + ", -1, StrPtr(" +
        VisualBasicUnicodeLiteral(plan.text) + ")" + limits + index + ") <> 0 Then");
      w("    If " + index + " <> " + list.error + " Then SendMessage GetParent(" + h +
        "), WM_COMMAND, " + list.selection_change + " * &H10000 + (GetDlgCtrlID(" + h +
        ") And &HFFFF&), " + h);
      w("End If");
      break;
    }
    case Action::kReadItems: {
      if (IsView(plan)) {
        w("' " + std::string(kViewNote));
        w("' That code is written in C++: choose C++ in this menu.");
        break;
      }
      const ListWords list = WordsOf(plan);
      const std::string count = result("Count"), length = result("Length"),
                        copied = result("Copied");
      const std::string text = text_local("Text");
      locals.counters.push_back(local("Item"));
      const std::string& item = locals.counters.back();
      w("' " + std::string(kHungNote));
      w("If SendMessageTimeout(" + h + ", " + list.count + ", 0, 0" + limits + count +
        ") <> 0 Then");
      w("    For " + item + " = 0 To " + count + " - 1");
      w("        If SendMessageTimeout(" + h + ", " + list.length + ", " + item + ", 0" +
        limits + length + ") = 0 Then Exit For");
      w("        If " + length + " = " + list.error + " Then Exit For");
      w("        " + text + " = String$(" + length + " + 1, 0)");
      w("        If SendMessageTimeout(" + h + ", " + list.text + ", " + item +
        ", StrPtr(" + text + ")" + limits + copied + ") = 0 Then Exit For");
      w("        Debug.Print Left$(" + text + ", " + copied + ")");
      w("    Next");
      w("End If");
      break;
    }
  }
}

void VisualBasicConstants(Writer& w, const ActionPlan& plan) {
  for (const std::string& name : ConstantNames(plan)) {
    w("Const " + name + " As Long = " + ConstantValue(name, "&H"));
  }
}

void VisualBasicWait(ActionCode& code, const ActionPlan& plan,
                     const std::vector<std::string>& names, LocalNames& local) {
  if (!plan.wait) return;
  const std::string& t = names.back();
  const std::string tries = local("Tries");
  code.before = {"' " + std::string(kWaitNote), "Dim " + tries + " As Long",
                 "For " + tries + " = 1 To " + std::to_string(kTries)};
  code.inner_indent = "    ";
  code.after = {"    If " + t + " <> 0 Then Exit For",
                "    Sleep " + std::to_string(kTryPauseMs), "Next",
                "If " + t + " = 0 Then Debug.Print \"" + kGiveUp + "\""};
}

ActionCode SpellVisualBasic(const ActionPlan& plan, const std::vector<std::string>& names,
                            bool declare) {
  ActionCode code;
  if (declare) code.declarations = VisualBasicActionDeclarations(plan, false);
  LocalNames local(names, true);
  VisualBasicWait(code, plan, names, local);
  if (plan.action == Action::kFindOnly) return code;
  std::vector<std::string> body;
  Writer b(body, "    ");
  VbLocals locals;
  VisualBasicBody(b, plan, names.back(), local, locals);
  Writer w(code.after, "");
  VisualBasicConstants(w, plan);
  for (const std::string& name : locals.results) w("Dim " + name + " As Long");
  for (const std::string& name : locals.counters) w("Dim " + name + " As Long");
  for (const std::string& name : locals.texts) w("Dim " + name + " As String");
  w("If " + names.back() + " <> 0 Then");
  code.after.insert(code.after.end(), body.begin(), body.end());
  w("End If");
  return code;
}

// VBA: the wait in FindTarget, the action in a procedure of its own that
// calls it.
ActionCode SpellVba(const ActionPlan& plan, const std::vector<std::string>& names) {
  ActionCode code;
  LocalNames wait_names(names, true);
  VisualBasicWait(code, plan, names, wait_names);
  if (plan.action == Action::kFindOnly) return code;
  LocalNames local({"FindTarget", "ActOnTarget"}, true);
  const std::string target = local("Target");
  std::vector<std::string> body;
  Writer b(body, "    ");
  VbLocals locals;
  VisualBasicBody(b, plan, target, local, locals);
  locals.results.insert(locals.results.begin(), target);
  Writer w(code.below, "");
  w("");
  w("Public Sub ActOnTarget()");
  w.In();
  VisualBasicConstants(w, plan);
  w.Out();
  auto dims = [&](std::string_view condition, std::string_view type) {
    w(condition);
    for (const std::string& name : locals.results)
      w("    Dim " + name + " As " + std::string(type));
    for (const std::string& name : locals.counters) w("    Dim " + name + " As Long");
  };
  dims("#If VBA7 Then", "LongPtr");
  dims("#Else", "Long");
  w("#End If");
  w.In();
  for (const std::string& name : locals.texts) w("Dim " + name + " As String");
  w(target + " = FindTarget()");
  w("If " + target + " = 0 Then Exit Sub");
  w.Out();
  code.below.insert(code.below.end(), body.begin(), body.end());
  w("End Sub");
  return code;
}

// ---------------------------------------------------------------------------
// C#: members of the finder's class.

ActionCode SpellCSharp(const ActionPlan& plan, const std::vector<std::string>& names) {
  ActionCode code;
  const ActionCalls calls = CallsOf(plan);
  const std::string import(kCSharpImport);
  const std::string message = "(System.IntPtr hWnd, int Msg, System.IntPtr wParam, ";
  if (calls.send_timeout) {
    for (std::string_view l_param : {"System.IntPtr", "string", "char[]"}) {
      code.declarations.push_back(import);
      code.declarations.push_back(
          "static extern System.IntPtr SendMessageTimeoutW" + message +
          std::string(l_param) +
          " lParam, int fuFlags, int uTimeout, out System.IntPtr lpdwResult);");
    }
  }
  if (calls.send) {
    code.declarations.push_back(import);
    code.declarations.push_back("static extern System.IntPtr SendMessageW" + message +
                                "System.IntPtr lParam);");
  }
  if (calls.post) {
    code.declarations.push_back(import);
    code.declarations.push_back("static extern bool PostMessageW" + message +
                                "System.IntPtr lParam);");
  }
  if (calls.parent) {
    AppendLines(
        code.declarations,
        {kCSharpImport, "static extern System.IntPtr GetParent(System.IntPtr hWnd);",
         kCSharpImport, "static extern int GetDlgCtrlID(System.IntPtr hWnd);"});
  }
  for (const std::string& name : ConstantNames(plan)) {
    code.declarations.push_back("const int " + name + " = " + ConstantValue(name, "0x") +
                                ";");
  }
  const std::string zero = "System.IntPtr.Zero";
  if (plan.wait) {
    const std::string& t = names.back();
    LocalNames local(names, false);
    const std::string tries = local("tries");
    std::string declare = "    System.IntPtr ";
    for (std::size_t i = 0; i < names.size(); ++i) {
      declare += (i ? ", " : "") + names[i] + " = " + zero;
    }
    code.before = {declare + ";", "    // " + std::string(kWaitNote),
                   "    for (int " + tries + " = 0; " + tries + " < " +
                       std::to_string(kTries) + "; " + tries + "++)",
                   "    {"};
    code.inner_indent = "    ";
    code.after = {
        "        if (" + t + " != " + zero + ") break;",
        "        System.Threading.Thread.Sleep(" + std::to_string(kTryPauseMs) + ");",
        "    }",
        "    if (" + t + " == " + zero + ") System.Console.Error.WriteLine(\"" + kGiveUp +
            "\");"};
  }
  if (plan.action == Action::kFindOnly) return code;
  Writer w(code.below, "");
  w("");
  w("static void ActOnTarget()");
  w("{");
  w.In();
  w("System.IntPtr target = FindTarget();");
  w("if (target == " + zero + ") return;");
  const std::string limits = ", SMTO_ABORTIFHUNG, " + kTimeout + ", out ";
  const std::string no_params = ", " + zero + ", " + zero;
  const std::string whole = "System.Math.Min((long)copied, (long)length)";
  switch (plan.action) {
    case Action::kFindOnly:
      break;
    case Action::kReadText:
      w("// " + std::string(kHungNote));
      w("System.IntPtr length, copied;");
      w("string text = \"\";");
      w("if (SendMessageTimeoutW(target, WM_GETTEXTLENGTH" + no_params + limits +
        "length) != " + zero + ")");
      w("{");
      w("    char[] buffer = new char[(long)length + 1];");
      w("    if (SendMessageTimeoutW(target, WM_GETTEXT, (System.IntPtr)buffer.Length, "
        "buffer" +
        limits + "copied) != " + zero + ")");
      w("    {");
      w("        text = new string(buffer, 0, (int)" + whole + ");");
      w("    }");
      w("}");
      w("System.Console.WriteLine(text);");
      break;
    case Action::kClose:
      w("PostMessageW(target, WM_CLOSE" + no_params + ");");
      break;
    case Action::kClick:
      w("// " + std::string(kClickNote));
      w("PostMessageW(target, BM_CLICK" + no_params + ");");
      break;
    case Action::kCheck:
    case Action::kUncheck:
      w("// " + std::string(kCheckNote));
      w("System.IntPtr state;");
      w("if (SendMessageTimeoutW(target, BM_GETCHECK" + no_params + limits +
        "state) != " + zero + " &&");
      w(std::string("    (long)state != ") +
        (plan.action == Action::kCheck ? "BST_CHECKED" : "BST_UNCHECKED") + ")");
      w("{");
      w("    PostMessageW(target, BM_CLICK" + no_params + ");");
      w("}");
      break;
    case Action::kSetText:
      w("System.IntPtr done;");
      w("SendMessageTimeoutW(target, WM_SETTEXT, " + zero + ", " +
        CSharpLiteral(plan.text) + limits + "done);");
      break;
    case Action::kChooseItem: {
      const ListWords list = WordsOf(plan);
      w("// " + std::string(kChooseNote));
      w("System.IntPtr index;");
      w("if (SendMessageTimeoutW(target, " + list.select + ", (System.IntPtr)(-1), " +
        CSharpLiteral(plan.text) + limits + "index) != " + zero + " &&");
      w("    (long)index != " + list.error + ")");
      w("{");
      w("    SendMessageW(GetParent(target), WM_COMMAND, (System.IntPtr)((" +
        list.selection_change + " << 16) | (GetDlgCtrlID(target) & 0xFFFF)), target);");
      w("}");
      break;
    }
    case Action::kReadItems: {
      if (IsView(plan)) {
        w("// " + std::string(kViewNote));
        w("// That code is written in C++: choose C++ in this menu.");
        break;
      }
      const ListWords list = WordsOf(plan);
      w("// " + std::string(kHungNote));
      w("System.IntPtr count, length, copied;");
      w("if (SendMessageTimeoutW(target, " + list.count + no_params + limits +
        "count) != " + zero + ")");
      w("{");
      w("    for (long item = 0; item < (long)count; item++)");
      w("    {");
      w("        if (SendMessageTimeoutW(target, " + list.length +
        ", (System.IntPtr)item, " + zero + limits + "length) == " + zero + " ||");
      w("            (long)length == " + list.error + ") break;");
      w("        char[] buffer = new char[(long)length + 1];");
      w("        if (SendMessageTimeoutW(target, " + list.text +
        ", (System.IntPtr)item, buffer" + limits + "copied) == " + zero + " ||");
      w("            (long)copied == " + list.error + ") break;");
      w("        System.Console.WriteLine(new string(buffer, 0, (int)" + whole + "));");
      w("    }");
      w("}");
      break;
    }
  }
  w.Out();
  w("}");
  return code;
}

// ---------------------------------------------------------------------------
// Python: statements of the script, through ctypes.

ActionCode SpellPython(const ActionPlan& plan, const std::vector<std::string>& names) {
  ActionCode code;
  const ActionCalls calls = CallsOf(plan);
  const std::string message =
      "wintypes.HWND, wintypes.UINT, wintypes.WPARAM, wintypes.LPARAM";
  if (calls.send_timeout) {
    AppendLines(code.declarations,
                {"user32.SendMessageTimeoutW.argtypes = (", "    " + message + ",",
                 "    wintypes.UINT, wintypes.UINT, ctypes.POINTER(ctypes.c_ssize_t))",
                 "user32.SendMessageTimeoutW.restype = wintypes.LPARAM"});
  }
  if (calls.send) {
    AppendLines(code.declarations, {"user32.SendMessageW.argtypes = (" + message + ")",
                                    "user32.SendMessageW.restype = wintypes.LPARAM"});
  }
  if (calls.post) {
    AppendLines(code.declarations, {"user32.PostMessageW.argtypes = (" + message + ")",
                                    "user32.PostMessageW.restype = wintypes.BOOL"});
  }
  if (calls.parent) {
    AppendLines(code.declarations, {"user32.GetParent.argtypes = (wintypes.HWND,)",
                                    "user32.GetParent.restype = wintypes.HWND",
                                    "user32.GetDlgCtrlID.argtypes = (wintypes.HWND,)",
                                    "user32.GetDlgCtrlID.restype = ctypes.c_int"});
  }
  for (const std::string& name : ConstantNames(plan)) {
    code.declarations.push_back(name + " = " + ConstantValue(name, "0x"));
  }
  const std::string& t = names.back();
  if (plan.wait) {
    code.before = {"# " + std::string(kWaitNote),
                   "for _ in range(" + std::to_string(kTries) + "):"};
    code.inner_indent = "    ";
    code.after = {"    if " + t + ":", "        break",
                  "    ctypes.windll.kernel32.Sleep(" + std::to_string(kTryPauseMs) + ")",
                  "else:", "    print(\"" + kGiveUp + "\")"};
  }
  LocalNames local(names, false);
  Writer w(code.after, "");
  const std::string limits = ", SMTO_ABORTIFHUNG, " + kTimeout + ", ctypes.byref(";
  switch (plan.action) {
    case Action::kFindOnly:
      break;
    case Action::kReadText: {
      const std::string text = local("text"), length = local("length"),
                        buffer = local("buffer"), copied = local("copied");
      w("# " + std::string(kHungNote));
      w(text + " = \"\"");
      w(length + " = ctypes.c_ssize_t()");
      w(copied + " = ctypes.c_ssize_t()");
      w("if " + t + " and user32.SendMessageTimeoutW(" + t + ", WM_GETTEXTLENGTH, 0, 0" +
        limits + length + ")):");
      w("    " + buffer + " = ctypes.create_unicode_buffer(" + length + ".value + 1)");
      w("    if user32.SendMessageTimeoutW(" + t + ", WM_GETTEXT, len(" + buffer +
        "), ctypes.addressof(" + buffer + ")" + limits + copied + ")):");
      w("        " + text + " = " + buffer + "[:min(" + copied + ".value, " + length +
        ".value)]");
      w("print(" + text + ")");
      break;
    }
    case Action::kClose:
      w("if " + t + ":");
      w("    user32.PostMessageW(" + t + ", WM_CLOSE, 0, 0)");
      break;
    case Action::kClick:
      w("# " + std::string(kClickNote));
      w("if " + t + ":");
      w("    user32.PostMessageW(" + t + ", BM_CLICK, 0, 0)");
      break;
    case Action::kCheck:
    case Action::kUncheck: {
      const std::string state = local("state");
      w("# " + std::string(kCheckNote));
      w(state + " = ctypes.c_ssize_t()");
      w("if (" + t + " and user32.SendMessageTimeoutW(" + t + ", BM_GETCHECK, 0, 0" +
        limits + state + "))");
      w(std::string("        and ") + state + ".value != " +
        (plan.action == Action::kCheck ? "BST_CHECKED" : "BST_UNCHECKED") + "):");
      w("    user32.PostMessageW(" + t + ", BM_CLICK, 0, 0)");
      break;
    }
    case Action::kSetText: {
      const std::string text = local("text");
      w("if " + t + ":");
      w("    " + text + " = ctypes.create_unicode_buffer(" + PythonLiteral(plan.text) +
        ")");
      w("    user32.SendMessageTimeoutW(" + t + ", WM_SETTEXT, 0, ctypes.addressof(" +
        text + "), SMTO_ABORTIFHUNG, " + kTimeout + ", None)");
      break;
    }
    case Action::kChooseItem: {
      const ListWords list = WordsOf(plan);
      const std::string wanted = local("wanted"), index = local("index");
      w("# " + std::string(kChooseNote));
      w(wanted + " = ctypes.create_unicode_buffer(" + PythonLiteral(plan.text) + ")");
      w(index + " = ctypes.c_ssize_t()");
      w("if (" + t + " and user32.SendMessageTimeoutW(" + t + ", " + list.select +
        ", -1, ctypes.addressof(" + wanted + ")" + limits + index + "))");
      w("        and " + index + ".value != " + list.error + "):");
      w("    user32.SendMessageW(user32.GetParent(" + t + "), WM_COMMAND,");
      w("                        (" + list.selection_change +
        " << 16) | (user32.GetDlgCtrlID(" + t + ") & 0xFFFF), " + t + ")");
      break;
    }
    case Action::kReadItems: {
      if (IsView(plan)) {
        w("# " + std::string(kViewNote));
        w("# That code is written in C++: choose C++ in this menu.");
        break;
      }
      const ListWords list = WordsOf(plan);
      const std::string items = local("items"), count = local("count"),
                        item = local("item"), length = local("length"),
                        copied = local("copied"), buffer = local("buffer");
      w("# " + std::string(kHungNote));
      w(items + " = []");
      w(count + " = ctypes.c_ssize_t()");
      w(length + " = ctypes.c_ssize_t()");
      w(copied + " = ctypes.c_ssize_t()");
      w("if " + t + " and user32.SendMessageTimeoutW(" + t + ", " + list.count +
        ", 0, 0" + limits + count + ")):");
      w("    for " + item + " in range(" + count + ".value):");
      w("        if (not user32.SendMessageTimeoutW(" + t + ", " + list.length + ", " +
        item + ", 0" + limits + length + "))");
      w("                or " + length + ".value == " + list.error + "):");
      w("            break");
      w("        " + buffer + " = ctypes.create_unicode_buffer(" + length +
        ".value + 1)");
      w("        if (not user32.SendMessageTimeoutW(" + t + ", " + list.text + ", " +
        item + ", ctypes.addressof(" + buffer + ")" + limits + copied + "))");
      w("                or " + copied + ".value == " + list.error + "):");
      w("            break");
      w("        " + items + ".append(" + buffer + "[:min(" + copied + ".value, " +
        length + ".value)])");
      w("print(" + items + ")");
      break;
    }
  }
  return code;
}

}  // namespace

ActionCode SpellAction(const ActionPlan& plan, FinderLanguage language,
                       const std::vector<std::string>& names, bool declare) {
  if (!Acts(plan) || names.empty()) return {};
  switch (language) {
    case FinderLanguage::kVisualBasic:
      return SpellVisualBasic(plan, names, declare);
    case FinderLanguage::kVba:
      return SpellVba(plan, names);
    case FinderLanguage::kCpp:
      return SpellCpp(plan, names);
    case FinderLanguage::kCSharp:
      return SpellCSharp(plan, names);
    case FinderLanguage::kPython:
      return SpellPython(plan, names);
  }
  return {};
}

}  // namespace winscout::codegen
