#include "codegen/action_code.h"

#include <algorithm>
#include <utility>

#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/finder_language.h"
#include "codegen/python_emitter.h"
#include "codegen/statements.h"
#include "codegen/visual_basic.h"
#include "platform/unicode_text.h"

// The action code is kept as text with placeholders rather than built from
// pieces: the program carries the text once, not the code that would build it.
//
//   $T  the target's variable     $X  the plan's text as a literal
//   $M  the answer time limit     $K  the check state that needs no click
//   $S $E $N $C $L $G  the list's messages: select, error, selection change,
//       count, text length, text (CB_... or LB_...)
//   $1 .. $6  the notes: hung, click, check, choose, items in the process, wait
//   $W $P $Z  the wait: tries, pause, the giving-up message
//   $D  the levels' variables with no window (C++, C#)
//   $H  Visual Basic's handle type, $Q its Declare, $I C#'s import attribute
//   @Name  a local variable, numbered where a level's variable has the name
//   $a $b $c  words the texts share, written once (kWords)

namespace winscout::codegen {
namespace {

enum Dialect : char { kVb = 'v', kCpp = 'c', kCs = 's', kPy = 'p' };

// A template of one dialect for an action on one kind of list: 'b' combo or
// list box, 'l' list view, 't' tree view, '-' any; the wait has 'w' (before
// the searches) and 'a' (after them) under kFindOnly.
struct Template {
  char dialect;
  Action action;
  char list;
  const char* text;
};

// clang-format off
constexpr Template kTemplates[] = {
// C++: the Windows headers are at hand.
{kCpp, Action::kFindOnly, 'w', R"(HWND $D;
// $6
for (int tries = 0; tries < $W; ++tries) {)"},
{kCpp, Action::kFindOnly, 'a', R"(    if ($T) break;
    Sleep($P);
}
if (!$T) OutputDebugStringW(L"$Z\n");)"},
{kCpp, Action::kReadText, '-', R"(// $1 (#include <string>)
std::wstring text;
DWORD_PTR length = 0;
if ($T && $aW($T, WM_GETTEXTLENGTH, 0, 0$b&length)) {
    text.resize(length + 1);
    DWORD_PTR copied = 0;
    if (!$aW($T, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())$b&copied)) copied = 0;
    text.resize(copied < length ? copied : length);
})"},
{kCpp, Action::kClose, '-', "if ($T) PostMessageW($T, WM_CLOSE, 0, 0);"},
{kCpp, Action::kClick, '-', "// $2\nif ($T) PostMessageW($T, BM_CLICK, 0, 0);"},
{kCpp, Action::kCheck, '-', R"(// $3
DWORD_PTR state = 0;
if ($T && $aW($T, BM_GETCHECK, 0, 0$b&state) && state != $K) {
    PostMessageW($T, BM_CLICK, 0, 0);
})"},
{kCpp, Action::kSetText, '-', "if ($T) $aW($T, WM_SETTEXT, 0, reinterpret_cast<LPARAM>($X)$bnullptr);"},
{kCpp, Action::kChooseItem, '-', R"(// $4
DWORD_PTR index = 0;
if ($T && $aW($T, $S, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>($X)$b&index) &&
    static_cast<LRESULT>(index) != $E) {
    SendMessageW(GetParent($T), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID($T), $N), reinterpret_cast<LPARAM>($T));
})"},
{kCpp, Action::kReadItems, 'b', R"(// $1 (#include <string>, <vector>)
std::vector<std::wstring> items;
DWORD_PTR count = 0;
if ($T && $aW($T, $C, 0, 0$b&count) && static_cast<LRESULT>(count) != $E) {
    for (DWORD_PTR item = 0; item < count; ++item) {
        DWORD_PTR length = 0, copied = 0;
        if (!$aW($T, $L, item, 0$b&length) || static_cast<LRESULT>(length) == $E) break;
        std::wstring text(length + 1, L'\0');
        if (!$aW($T, $G, item, reinterpret_cast<LPARAM>(text.data())$b&copied) ||
            static_cast<LRESULT>(copied) == $E) break;
        text.resize(copied < length ? copied : length);
        items.push_back(text);
    }
})"},
{kCpp, Action::kReadItems, 'v', R"(// $5
DWORD processId = 0;
if ($T) GetWindowThreadProcessId($T, &processId);
HANDLE process = processId ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : nullptr;
BOOL wow64 = FALSE;
const bool bits32 = process && (sizeof(void*) == 4 || (IsWow64Process(process, &wow64) && wow64));
const SIZE_T chars = 32768;  // the longest item text read
char* remote = process ? static_cast<char*>(VirtualAllocEx(process, nullptr, 128 + chars * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) : nullptr;
const ULONGLONG textAddress = reinterpret_cast<UINT_PTR>(remote) + 128;
const int capacity = static_cast<int>(chars);
// The text of one item: the structure written there, the text read back.
auto itemText = [&](UINT message, WPARAM wParam, const unsigned char (&item)[128], std::wstring& text) {
    DWORD_PTR result = 0;
    text.assign(chars, L'\0');
    if (!WriteProcessMemory(process, remote, item, sizeof(item), nullptr) ||
        !$aW($T, message, wParam, reinterpret_cast<LPARAM>(remote)$b&result) ||
        !ReadProcessMemory(process, remote + 128, text.data(), chars * sizeof(wchar_t), nullptr)) return false;
    text[chars - 1] = L'\0';
    text.resize(text.find(L'\0'));
    return true;
};)"},
{kCpp, Action::kReadItems, 'l', R"(// One row an item, one text a column (#include <commctrl.h>, <string>, <vector>).
std::vector<std::vector<std::wstring>> items;
DWORD_PTR count = 0, header = 0, columns = 1;
if (remote && $aW($T, LVM_GETITEMCOUNT, 0, 0$b&count) &&
    $aW($T, LVM_GETHEADER, 0, 0$b&header)) {
    // Only a report view has a header, which counts the columns.
    if (header && (!$aW(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0$b&columns) ||
                   static_cast<LRESULT>(columns) < 1)) columns = 1;
    for (DWORD_PTR item = 0; item < count; ++item) {
        std::vector<std::wstring> row(columns);
        for (DWORD_PTR column = 0; column < columns; ++column) {
            // LVITEMW: mask, iItem, iSubItem, then pszText and cchTextMax where the bitness puts them.
            unsigned char lvItem[128] = {};
            const UINT head[3] = {LVIF_TEXT, static_cast<UINT>(item), static_cast<UINT>(column)};
            CopyMemory(lvItem, head, sizeof(head));
            CopyMemory(lvItem + (bits32 ? 20 : 24), &textAddress, bits32 ? 4 : 8);
            CopyMemory(lvItem + (bits32 ? 24 : 32), &capacity, sizeof(capacity));
            if (!itemText(LVM_GETITEMTEXTW, item, lvItem, row[column])) break;
        }
        items.push_back(row);
    }
})"},
{kCpp, Action::kReadItems, 't', R"(// Parents before their children (#include <commctrl.h>, <string>, <vector>).
std::vector<std::wstring> items;
std::vector<DWORD_PTR> pending;
DWORD_PTR root = 0;
if (remote && $aW($T, TVM_GETNEXTITEM, TVGN_ROOT, 0$b&root) && root) pending.push_back(root);
while (!pending.empty() && items.size() < 1000000) {
    const ULONGLONG item = pending.back();
    pending.pop_back();
    // TVITEMW: mask, then hItem, pszText and cchTextMax where the bitness puts them.
    unsigned char tvItem[128] = {};
    const UINT mask = TVIF_TEXT | TVIF_HANDLE;
    CopyMemory(tvItem, &mask, sizeof(mask));
    CopyMemory(tvItem + (bits32 ? 4 : 8), &item, bits32 ? 4 : 8);
    CopyMemory(tvItem + (bits32 ? 16 : 24), &textAddress, bits32 ? 4 : 8);
    CopyMemory(tvItem + (bits32 ? 20 : 32), &capacity, sizeof(capacity));
    std::wstring text;
    if (!itemText(TVM_GETITEMW, 0, tvItem, text)) break;
    items.push_back(text);
    DWORD_PTR next = 0, child = 0;
    if ($aW($T, TVM_GETNEXTITEM, TVGN_NEXT, item$b&next) && next) pending.push_back(next);
    if ($aW($T, TVM_GETNEXTITEM, TVGN_CHILD, item$b&child) && child) pending.push_back(child);
})"},
{kCpp, Action::kReadItems, 'e', R"(if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
if (process) CloseHandle(process);)"},

// Visual Basic and VBA: the W functions, texts through StrPtr; the body acts
// on a window that is there.
{kVb, Action::kFindOnly, 'w', "' $6\nDim @Tries As Long\nFor @Tries = 1 To $W"},
{kVb, Action::kFindOnly, 'a', R"(    If $T <> 0 Then Exit For
    Sleep $P
Next
If $T = 0 Then Debug.Print "$Z")"},
{kVb, Action::kReadText, '-', R"(Dim @Length As $H
Dim @Copied As $H
Dim @Text As String
' $1
If $a($T, WM_GETTEXTLENGTH, 0, 0$b@Length) <> 0 Then
    @Text = String$(@Length + 1, 0)
    If $a($T, WM_GETTEXT, @Length + 1, StrPtr(@Text)$b@Copied) = 0 Then @Copied = 0
    @Text = Left$(@Text, @Copied)
End If
Debug.Print @Text)"},
{kVb, Action::kClose, '-', "PostMessage $T, WM_CLOSE, 0, 0"},
{kVb, Action::kClick, '-', "' $2\nPostMessage $T, BM_CLICK, 0, 0"},
{kVb, Action::kCheck, '-', R"(Dim @State As $H
' $3
If $a($T, BM_GETCHECK, 0, 0$b@State) <> 0 Then
    If @State <> $K Then PostMessage $T, BM_CLICK, 0, 0
End If)"},
{kVb, Action::kSetText, '-', "Dim @Done As $H\n$a $T, WM_SETTEXT, 0, StrPtr($X)$b@Done"},
{kVb, Action::kChooseItem, '-', R"(Dim @Index As $H
' $4
If $a($T, $S, -1, StrPtr($X)$b@Index) <> 0 Then
    If @Index <> $E Then SendMessage GetParent($T), WM_COMMAND, $N * &H10000 + (GetDlgCtrlID($T) And &HFFFF&), $T
End If)"},
{kVb, Action::kReadItems, 'b', R"(Dim @Count As $H
Dim @Length As $H
Dim @Copied As $H
Dim @Item As Long
Dim @Text As String
' $1
If $a($T, $C, 0, 0$b@Count) <> 0 Then
    For @Item = 0 To @Count - 1
        If $a($T, $L, @Item, 0$b@Length) = 0 Then Exit For
        If @Length = $E Then Exit For
        @Text = String$(@Length + 1, 0)
        If $a($T, $G, @Item, StrPtr(@Text)$b@Copied) = 0 Then Exit For
        Debug.Print Left$(@Text, @Copied)
    Next
End If)"},
{kVb, Action::kReadItems, 'v', "' $5\n' That code is written in C++: choose C++ in this menu."},

// C#: the body of a method of its own, with `target` found.
{kCs, Action::kFindOnly, 'w', R"(    $c $D;
    // $6
    for (int @tries = 0; @tries < $W; @tries++)
    {)"},
{kCs, Action::kFindOnly, 'a', R"(        if ($T != $c.Zero) break;
        System.Threading.Thread.Sleep($P);
    }
    if ($T == $c.Zero) System.Console.Error.WriteLine("$Z");)"},
{kCs, Action::kReadText, '-', R"(// $1
$c length, copied;
string text = "";
if ($aW(target, WM_GETTEXTLENGTH, $c.Zero, $c.Zero$bout length) != $c.Zero)
{
    char[] buffer = new char[(long)length + 1];
    if ($aW(target, WM_GETTEXT, ($c)buffer.Length, buffer$bout copied) != $c.Zero)
    {
        text = new string(buffer, 0, (int)System.Math.Min((long)copied, (long)length));
    }
}
System.Console.WriteLine(text);)"},
{kCs, Action::kClose, '-', "PostMessageW(target, WM_CLOSE, $c.Zero, $c.Zero);"},
{kCs, Action::kClick, '-', "// $2\nPostMessageW(target, BM_CLICK, $c.Zero, $c.Zero);"},
{kCs, Action::kCheck, '-', R"(// $3
$c state;
if ($aW(target, BM_GETCHECK, $c.Zero, $c.Zero$bout state) != $c.Zero &&
    (long)state != $K)
{
    PostMessageW(target, BM_CLICK, $c.Zero, $c.Zero);
})"},
{kCs, Action::kSetText, '-', "$c done;\n$aW(target, WM_SETTEXT, $c.Zero, $X$bout done);"},
{kCs, Action::kChooseItem, '-', R"(// $4
$c index;
if ($aW(target, $S, ($c)(-1), $X$bout index) != $c.Zero &&
    (long)index != $E)
{
    SendMessageW(GetParent(target), WM_COMMAND, ($c)(($N << 16) | (GetDlgCtrlID(target) & 0xFFFF)), target);
})"},
{kCs, Action::kReadItems, 'b', R"(// $1
$c count, length, copied;
if ($aW(target, $C, $c.Zero, $c.Zero$bout count) != $c.Zero)
{
    for (long item = 0; item < (long)count; item++)
    {
        if ($aW(target, $L, ($c)item, $c.Zero$bout length) == $c.Zero ||
            (long)length == $E) break;
        char[] buffer = new char[(long)length + 1];
        if ($aW(target, $G, ($c)item, buffer$bout copied) == $c.Zero ||
            (long)copied == $E) break;
        System.Console.WriteLine(new string(buffer, 0, (int)System.Math.Min((long)copied, (long)length)));
    }
})"},
{kCs, Action::kReadItems, 'v', "// $5\n// That code is written in C++: choose C++ in this menu."},

// Python: statements of the script, through ctypes.
{kPy, Action::kFindOnly, 'w', "# $6\nfor _ in range($W):"},
{kPy, Action::kFindOnly, 'a', R"(    if $T:
        break
    ctypes.windll.kernel32.Sleep($P)
else:
    print("$Z"))"},
{kPy, Action::kReadText, '-', R"(# $1
@text = ""
@length = ctypes.c_ssize_t()
@copied = ctypes.c_ssize_t()
if $T and user32.$aW($T, WM_GETTEXTLENGTH, 0, 0$bctypes.byref(@length)):
    @buffer = ctypes.create_unicode_buffer(@length.value + 1)
    if user32.$aW($T, WM_GETTEXT, len(@buffer), ctypes.addressof(@buffer)$bctypes.byref(@copied)):
        @text = @buffer[:min(@copied.value, @length.value)]
print(@text))"},
{kPy, Action::kClose, '-', "if $T:\n    user32.PostMessageW($T, WM_CLOSE, 0, 0)"},
{kPy, Action::kClick, '-', "# $2\nif $T:\n    user32.PostMessageW($T, BM_CLICK, 0, 0)"},
{kPy, Action::kCheck, '-', R"(# $3
@state = ctypes.c_ssize_t()
if ($T and user32.$aW($T, BM_GETCHECK, 0, 0$bctypes.byref(@state))
        and @state.value != $K):
    user32.PostMessageW($T, BM_CLICK, 0, 0))"},
{kPy, Action::kSetText, '-', R"(if $T:
    @text = ctypes.create_unicode_buffer($X)
    user32.$aW($T, WM_SETTEXT, 0, ctypes.addressof(@text)$bNone))"},
{kPy, Action::kChooseItem, '-', R"(# $4
@wanted = ctypes.create_unicode_buffer($X)
@index = ctypes.c_ssize_t()
if ($T and user32.$aW($T, $S, -1, ctypes.addressof(@wanted)$bctypes.byref(@index))
        and @index.value != $E):
    user32.SendMessageW(user32.GetParent($T), WM_COMMAND, ($N << 16) | (user32.GetDlgCtrlID($T) & 0xFFFF), $T))"},
{kPy, Action::kReadItems, 'b', R"(# $1
@items = []
@count = ctypes.c_ssize_t()
@length = ctypes.c_ssize_t()
@copied = ctypes.c_ssize_t()
if $T and user32.$aW($T, $C, 0, 0$bctypes.byref(@count)):
    for @item in range(@count.value):
        if (not user32.$aW($T, $L, @item, 0$bctypes.byref(@length))
                or @length.value == $E):
            break
        @buffer = ctypes.create_unicode_buffer(@length.value + 1)
        if (not user32.$aW($T, $G, @item, ctypes.addressof(@buffer)$bctypes.byref(@copied))
                or @copied.value == $E):
            break
        @items.append(@buffer[:min(@copied.value, @length.value)])
print(@items))"},
{kPy, Action::kReadItems, 'v', "# $5\n# That code is written in C++: choose C++ in this menu."},
};

// The declarations of the functions an action calls, by a letter: 't'
// $a, 's' SendMessage, 'p' PostMessage, 'g' GetParent and
// GetDlgCtrlID, 'z' Sleep.
constexpr Template kDeclarations[] = {
{kVb, Action::kFindOnly, 't', R"(Private $Q Function $a Lib "user32" Alias "$aW" (ByVal hWnd As $H, ByVal Msg As Long, ByVal wParam As $H, ByVal lParam As $H, ByVal fuFlags As Long, ByVal uTimeout As Long, lpdwResult As $H) As $H)"},
{kVb, Action::kFindOnly, 's', R"(Private $Q Function SendMessage Lib "user32" Alias "SendMessageW" (ByVal hWnd As $H, ByVal Msg As Long, ByVal wParam As $H, ByVal lParam As $H) As $H)"},
{kVb, Action::kFindOnly, 'p', R"(Private $Q Function PostMessage Lib "user32" Alias "PostMessageW" (ByVal hWnd As $H, ByVal Msg As Long, ByVal wParam As $H, ByVal lParam As $H) As Long)"},
{kVb, Action::kFindOnly, 'g', R"(Private $Q Function GetParent Lib "user32" (ByVal hWnd As $H) As $H
Private $Q Function GetDlgCtrlID Lib "user32" (ByVal hWnd As $H) As Long)"},
{kVb, Action::kFindOnly, 'z', R"(Private $Q Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long))"},
{kCs, Action::kFindOnly, 't', R"($I
static extern $c $aW($c hWnd, int Msg, $c wParam, $c lParam, int fuFlags, int uTimeout, out $c lpdwResult);
$I
static extern $c $aW($c hWnd, int Msg, $c wParam, string lParam, int fuFlags, int uTimeout, out $c lpdwResult);
$I
static extern $c $aW($c hWnd, int Msg, $c wParam, char[] lParam, int fuFlags, int uTimeout, out $c lpdwResult);)"},
{kCs, Action::kFindOnly, 's', "$I\nstatic extern $c SendMessageW($c hWnd, int Msg, $c wParam, $c lParam);"},
{kCs, Action::kFindOnly, 'p', "$I\nstatic extern bool PostMessageW($c hWnd, int Msg, $c wParam, $c lParam);"},
{kCs, Action::kFindOnly, 'g', "$I\nstatic extern $c GetParent($c hWnd);\n$I\nstatic extern int GetDlgCtrlID($c hWnd);"},
{kPy, Action::kFindOnly, 't', R"(user32.$aW.argtypes = (
    wintypes.HWND, wintypes.UINT, wintypes.WPARAM, wintypes.LPARAM,
    wintypes.UINT, wintypes.UINT, ctypes.POINTER(ctypes.c_ssize_t))
user32.$aW.restype = wintypes.LPARAM)"},
{kPy, Action::kFindOnly, 's', R"(user32.SendMessageW.argtypes = (wintypes.HWND, wintypes.UINT, wintypes.WPARAM, wintypes.LPARAM)
user32.SendMessageW.restype = wintypes.LPARAM)"},
{kPy, Action::kFindOnly, 'p', R"(user32.PostMessageW.argtypes = (wintypes.HWND, wintypes.UINT, wintypes.WPARAM, wintypes.LPARAM)
user32.PostMessageW.restype = wintypes.BOOL)"},
{kPy, Action::kFindOnly, 'g', R"(user32.GetParent.argtypes = (wintypes.HWND,)
user32.GetParent.restype = wintypes.HWND
user32.GetDlgCtrlID.argtypes = (wintypes.HWND,)
user32.GetDlgCtrlID.restype = ctypes.c_int)"},
};

constexpr std::string_view kWords[] = {"SendMessageTimeout", ", SMTO_ABORTIFHUNG, $M, ",
                                       "System.IntPtr"};

constexpr std::string_view kNotes[] = {
    "Asked with a time limit, so that a hung window cannot hold this program.",
    "Posted, not sent: a button that opens a modal dialog would hold this program "
    "until the dialog closed.",
    "Clicked only when its state differs, so that its program hears of it as of a "
    "user's click.",
    "Chosen by the text it begins with; then its parent is told as of a user's "
    "choice, which the selection alone does not tell it.",
    "The items live in the control's process: the item structure and its text go "
    "into memory there, laid out for that process (32- or 64-bit), and are freed again.",
    "Searched again until the window is there, for up to 10 seconds."};

// The message constants that the languages without the Windows headers
// define, and the constants each action uses ($ words as in the templates).
// The values as written, "x" before the hexadecimal ones, in the order
// written.
constexpr std::pair<std::string_view, std::string_view> kConstants[] = {
    {"BM_CLICK", "xF5"}, {"BM_GETCHECK", "xF0"}, {"BST_CHECKED", "1"}, {"BST_UNCHECKED", "0"},
    {"CBN_SELCHANGE", "1"}, {"CB_ERR", "-1"}, {"CB_GETCOUNT", "x146"},
    {"CB_GETLBTEXT", "x148"}, {"CB_GETLBTEXTLEN", "x149"}, {"CB_SELECTSTRING", "x14D"},
    {"LBN_SELCHANGE", "1"}, {"LB_ERR", "-1"}, {"LB_GETCOUNT", "x18B"},
    {"LB_GETTEXT", "x189"}, {"LB_GETTEXTLEN", "x18A"}, {"LB_SELECTSTRING", "x18C"},
    {"SMTO_ABORTIFHUNG", "2"}, {"WM_CLOSE", "x10"}, {"WM_COMMAND", "x111"},
    {"WM_GETTEXT", "xD"}, {"WM_GETTEXTLENGTH", "xE"}, {"WM_SETTEXT", "xC"}};
constexpr std::string_view kActionConstants[] = {
    "",                                               // kFindOnly
    "SMTO_ABORTIFHUNG WM_GETTEXT WM_GETTEXTLENGTH",   // kReadText
    "WM_CLOSE",                                       // kClose
    "BM_CLICK",                                       // kClick
    "BM_CLICK BM_GETCHECK SMTO_ABORTIFHUNG $K",       // kCheck
    "BM_CLICK BM_GETCHECK SMTO_ABORTIFHUNG $K",       // kUncheck
    "SMTO_ABORTIFHUNG WM_SETTEXT",                    // kSetText
    "$E $N $S SMTO_ABORTIFHUNG WM_COMMAND",           // kChooseItem
    "$C $E $G $L SMTO_ABORTIFHUNG",                   // kReadItems
};
// What each action calls, as kDeclarations names it.
constexpr std::string_view kActionCalls[] = {"", "t", "p", "p", "tp", "tp", "t", "tsg", "t"};
// clang-format on

constexpr int kTries = kWaitSeconds * 10;
constexpr int kTryPauseMs = 100;

bool SameName(std::string_view a, std::string_view b, bool ignore_case) {
  if (!ignore_case) return a == b;
  auto lower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_';
}

// What the placeholders stand for in one piece of code.
struct Context {
  const ActionPlan& plan;
  Dialect dialect;
  std::string target;
  std::string handle_type = "Long";  // $H
  std::string declared;              // $D
  // The levels' names, then the locals made so far, base -> name.
  std::vector<std::string> taken;
  std::vector<std::pair<std::string, std::string>> locals;
  bool ignore_case = false;
  // Visual Basic: the String that a text too long for one line is built in.
  std::string text_variable;

  std::string Local(const std::string& base) {
    for (const auto& [known, name] : locals) {
      if (known == base) return name;
    }
    std::string name = base;
    for (int n = 2; std::ranges::any_of(
             taken, [&](const std::string& t) { return SameName(t, name, ignore_case); });
         ++n) {
      name = base + std::to_string(n);
    }
    taken.push_back(name);
    locals.emplace_back(base, name);
    return name;
  }

  std::string Literal() const {
    switch (dialect) {
      case kVb:
        return text_variable.empty() ? VisualBasicUnicodeLiteral(plan.text)
                                     : text_variable;
      case kCpp:
        return CppWideLiteral(plan.text);
      case kCs:
        return CSharpLiteral(plan.text);
      case kPy:
        return PythonLiteral(plan.text);
    }
    return {};
  }

  // Appends what `key` stands for.
  void Substitute(char key, std::string& out) {
    const bool combo = plan.kind == TargetKind::kComboBox;
    switch (key) {
      case 'T':
        out += target;
        break;
      case 'X':
        out += Literal();
        break;
      case 'M':
        out += std::to_string(kAnswerTimeoutMs);
        break;
      case 'K':
        out += plan.action == Action::kCheck ? "BST_CHECKED" : "BST_UNCHECKED";
        break;
      case 'S':
        out += combo ? "CB_SELECTSTRING" : "LB_SELECTSTRING";
        break;
      case 'E':
        out += combo ? "CB_ERR" : "LB_ERR";
        break;
      case 'N':
        out += combo ? "CBN_SELCHANGE" : "LBN_SELCHANGE";
        break;
      case 'C':
        out += combo ? "CB_GETCOUNT" : "LB_GETCOUNT";
        break;
      case 'L':
        out += combo ? "CB_GETLBTEXTLEN" : "LB_GETTEXTLEN";
        break;
      case 'G':
        out += combo ? "CB_GETLBTEXT" : "LB_GETTEXT";
        break;
      case 'W':
        out += std::to_string(kTries);
        break;
      case 'P':
        out += std::to_string(kTryPauseMs);
        break;
      case 'Z':
        out += "The window was not found within ";
        out += std::to_string(kWaitSeconds);
        out += " seconds.";
        break;
      case 'D':
        out += declared;
        break;
      case 'H':
        out += handle_type;
        break;
      case 'Q':
        out += handle_type == "Long" ? "Declare" : "Declare PtrSafe";
        break;
      case 'I':
        out += kCSharpImport;
        break;
      default:
        if (key >= '1' && key <= '6') out += kNotes[key - '1'];
        break;
    }
  }

  // The text's lines with every placeholder in place, each after `indent`.
  std::vector<std::string> Expand(std::string_view words, std::string_view indent = {}) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
      const char c = words[i];
      if (c == '$' && i + 1 < words.size() && words[i + 1] >= 'a' &&
          words[i + 1] <= 'c') {
        text += kWords[words[++i] - 'a'];
      } else {
        text += c;
      }
    }
    std::vector<std::string> lines(1, std::string(indent));
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '\n') {
        lines.emplace_back(indent);
      } else if (c == '$' && i + 1 < text.size() && text[i + 1] != '(') {
        Substitute(text[++i], lines.back());
      } else if (c == '@') {
        std::size_t end = i + 1;
        while (end < text.size() && IsWordCharacter(text[end])) ++end;
        lines.back() += Local(std::string(text.substr(i + 1, end - i - 1)));
        i = end - 1;
      } else {
        lines.back() += c;
      }
    }
    for (std::string& line : lines) {
      if (line == indent) line.clear();
    }
    return lines;
  }

  void Append(std::vector<std::string>& lines, std::string_view text,
              std::string_view indent = {}) {
    for (std::string& line : Expand(text, indent)) lines.push_back(std::move(line));
  }
};

const char* Find(const Template* first, const Template* last, char dialect, Action action,
                 char list) {
  for (const Template* t = first; t != last; ++t) {
    if (t->dialect == dialect && t->action == action && t->list == list) return t->text;
  }
  return nullptr;
}

const char* Body(char dialect, Action action, char list) {
  // Uncheck is Check with the other state.
  if (action == Action::kUncheck) action = Action::kCheck;
  return Find(std::begin(kTemplates), std::end(kTemplates), dialect, action, list);
}

char ListOf(const ActionPlan& plan) {
  if (plan.action != Action::kReadItems) return '-';
  switch (plan.kind) {
    case TargetKind::kListView:
      return 'l';
    case TargetKind::kTreeView:
      return 't';
    default:
      return 'b';
  }
}

std::string_view Calls(const ActionPlan& plan) {
  return kActionCalls[static_cast<std::size_t>(plan.action)];
}

void AddDeclarations(Context& context, std::vector<std::string>& lines) {
  std::string calls(Calls(context.plan));
  if (context.plan.wait) calls += 'z';
  for (char call : calls) {
    if (const char* text = Find(std::begin(kDeclarations), std::end(kDeclarations),
                                context.dialect, Action::kFindOnly, call)) {
      context.Append(lines, text);
    }
  }
}

// The constants of the action, one a line, in the dialect's form.
void AddConstants(Context& context, std::vector<std::string>& lines,
                  std::string_view indent = {}) {
  if (context.dialect == kCpp) return;
  // The action's words between spaces, so that a name is found whole.
  const std::string words =
      " " +
      context.Expand(kActionConstants[static_cast<std::size_t>(context.plan.action)])
          .front() +
      " ";
  if (ListOf(context.plan) != 'b' && context.plan.action == Action::kReadItems) return;
  for (auto [name, value] : kConstants) {
    if (words.find(" " + std::string(name) + " ") == std::string::npos) continue;
    std::string line(context.dialect == kVb ? indent : "");
    line += context.dialect == kVb   ? "Const "
            : context.dialect == kCs ? "const int "
                                     : "";
    line += name;
    line += context.dialect == kVb ? " As Long = " : " = ";
    if (value.front() == 'x') {
      line += context.dialect == kVb ? "&H" : "0x";
      value.remove_prefix(1);
    }
    line += value;
    if (context.dialect == kCs) line += ';';
    lines.push_back(std::move(line));
  }
}

void AddWait(Context& context, ActionCode& code, const std::vector<std::string>& names,
             std::string_view null_handle) {
  if (!context.plan.wait) return;
  for (std::size_t i = 0; i < names.size(); ++i) {
    context.declared += (i ? ", " : "") + names[i] + " = " + std::string(null_handle);
  }
  const char dialect = context.dialect;
  context.Append(code.before, Find(std::begin(kTemplates), std::end(kTemplates), dialect,
                                   Action::kFindOnly, 'w'));
  context.Append(code.after, Find(std::begin(kTemplates), std::end(kTemplates), dialect,
                                  Action::kFindOnly, 'a'));
  code.inner_indent = "    ";
}

// The body's lines; list and tree views share the part that reaches into the
// target's process.
std::vector<std::string> BodyLines(Context& context, std::string_view indent = {}) {
  std::vector<std::string> lines;
  const char list = ListOf(context.plan);
  if ((list == 'l' || list == 't') && context.dialect != kCpp) {
    context.Append(lines, Body(context.dialect, Action::kReadItems, 'v'), indent);
    return lines;
  }
  if (list == 'l' || list == 't')
    context.Append(lines, Body(kCpp, Action::kReadItems, 'v'));
  context.Append(lines, Body(context.dialect, context.plan.action, list), indent);
  if (list == 'l' || list == 't')
    context.Append(lines, Body(kCpp, Action::kReadItems, 'e'));
  return lines;
}

// VB6 and the VBA editor refuse lines of more than 1,023 characters: a longer
// text is built across lines in a String of its own, which the action passes.
constexpr std::size_t kLongestLiteral = 600;
std::vector<std::string> LongTextLines(Context& context) {
  if (CodePoints(VisualBasicUnicodeLiteral(context.plan.text)).size() <= kLongestLiteral)
    return {};
  context.text_variable = context.Local("Wanted");
  return VisualBasicTextLines(context.text_variable, context.plan.text);
}

ActionCode SpellVisualBasic(const ActionPlan& plan, const std::vector<std::string>& names,
                            bool declare) {
  ActionCode code;
  Context context{.plan = plan,
                  .dialect = kVb,
                  .target = names.back(),
                  .taken = names,
                  .ignore_case = true};
  if (declare) {
    AddDeclarations(context, code.declarations);
  } else {
    // Texts go to the W functions by StrPtr, which other declarations of
    // them would not take.
    code.declarations = {
        "' The action calls the W functions (SendMessageTimeoutW, ...): \"Include "
        "declarations\" gives their Declare lines."};
  }
  AddWait(context, code, names, "0");
  if (plan.action == Action::kFindOnly) return code;
  AddConstants(context, code.after);
  for (std::string& line : LongTextLines(context)) code.after.push_back(std::move(line));
  // The Dim lines go above the test for the window.
  std::vector<std::string> body;
  for (std::string& line : BodyLines(context, "    ")) {
    (line.starts_with("    Dim ") ? code.after : body)
        .push_back(line.starts_with("    Dim ") ? line.substr(4) : line);
  }
  context.Append(code.after, "If $T <> 0 Then");
  code.after.insert(code.after.end(), body.begin(), body.end());
  code.after.emplace_back("End If");
  return code;
}

// VBA: the wait in FindTarget, the action in a procedure of its own.
ActionCode SpellVba(const ActionPlan& plan, const std::vector<std::string>& names) {
  ActionCode code;
  Context waiting{.plan = plan,
                  .dialect = kVb,
                  .target = names.back(),
                  .taken = names,
                  .ignore_case = true};
  AddWait(waiting, code, names, "0");
  if (plan.action == Action::kFindOnly) return code;
  Context context{.plan = plan,
                  .dialect = kVb,
                  .taken = {"FindTarget", "ActOnTarget"},
                  .ignore_case = true};
  context.target = context.Local("Target");
  std::vector<std::string>& out = code.below;
  context.Append(out, "\nPublic Sub ActOnTarget()");
  AddConstants(context, out, "    ");
  // The handle-sized variables by VBA's version, the others once: the body
  // is written with a mark for their type.
  constexpr char kPointerType[] = "\x01";
  context.handle_type = kPointerType;
  std::vector<std::string> pointers = {"    Dim " + context.target + " As " +
                                       kPointerType};
  std::vector<std::string> others;
  std::vector<std::string> body;
  const std::vector<std::string> long_text = LongTextLines(context);
  for (std::string& line : BodyLines(context, "    ")) {
    if (!line.starts_with("    Dim ")) {
      body.push_back(std::move(line));
    } else {
      (line.ends_with(kPointerType) ? pointers : others).push_back(std::move(line));
    }
  }
  for (const char* type : {"LongPtr", "Long"}) {
    out.push_back(type == std::string_view("Long") ? "#Else" : "#If VBA7 Then");
    for (const std::string& line : pointers)
      out.push_back(line.substr(0, line.size() - 1) + type);
  }
  out.emplace_back("#End If");
  out.insert(out.end(), others.begin(), others.end());
  for (const std::string& line : long_text) out.push_back("    " + line);
  context.Append(out, "    $T = FindTarget()\n    If $T = 0 Then Exit Sub");
  out.insert(out.end(), body.begin(), body.end());
  out.emplace_back("End Sub");
  return code;
}

ActionCode SpellCpp(const ActionPlan& plan, const std::vector<std::string>& names) {
  ActionCode code;
  Context context{.plan = plan, .dialect = kCpp, .target = names.back(), .taken = names};
  AddWait(context, code, names, "nullptr");
  if (plan.action == Action::kFindOnly) return code;
  for (std::string& line : BodyLines(context)) code.after.push_back(std::move(line));
  return code;
}

ActionCode SpellCSharp(const ActionPlan& plan, const std::vector<std::string>& names) {
  ActionCode code;
  Context context{.plan = plan, .dialect = kCs, .target = names.back(), .taken = names};
  AddDeclarations(context, code.declarations);
  AddConstants(context, code.declarations);
  AddWait(context, code, names, "System.IntPtr.Zero");
  if (plan.action == Action::kFindOnly) return code;
  context.Append(code.below,
                 "\nstatic void ActOnTarget()\n{\n    $c target = FindTarget();\n"
                 "    if (target == $c.Zero) return;");
  for (std::string& line : BodyLines(context, "    "))
    code.below.push_back(std::move(line));
  code.below.emplace_back("}");
  return code;
}

ActionCode SpellPython(const ActionPlan& plan, const std::vector<std::string>& names) {
  ActionCode code;
  Context context{.plan = plan, .dialect = kPy, .target = names.back(), .taken = names};
  AddDeclarations(context, code.declarations);
  AddConstants(context, code.declarations);
  AddWait(context, code, names, "None");
  if (plan.action == Action::kFindOnly) return code;
  for (std::string& line : BodyLines(context)) code.after.push_back(std::move(line));
  return code;
}

}  // namespace

std::vector<std::string> VisualBasicActionDeclarations(const ActionPlan& plan,
                                                       bool vba7) {
  Context context{.plan = plan, .dialect = kVb, .handle_type = vba7 ? "LongPtr" : "Long"};
  std::vector<std::string> lines;
  if (Acts(plan)) AddDeclarations(context, lines);
  return lines;
}

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
