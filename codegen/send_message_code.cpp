#include "codegen/send_message_code.h"

#include <initializer_list>

#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/python_emitter.h"
#include "codegen/visual_basic.h"
#include "platform/text_pieces.h"

// The code is kept as text with numbered placeholders rather than built from
// pieces: the program carries the text once, not the code that would build
// it. In every language's text:
//   $0  the finder code   $1  the comment   $2  PostMessage or SendMessage
//   $3  the target        $4  the message in hex   $5  wParam   $6  lParam
//   $7  lines that only some messages need (declarations, imports)

namespace winscout::codegen {
namespace {

// clang-format off
constexpr char kVisualBasic[] = "$7$0\r\n' $1\r\n$2 $3, &H$4, $5, $6";
constexpr char kVba[] = "#If VBA7 Then\r\n$7#Else\r\n$8#End If\r\n$0\r\n\r\n"
    "Public Sub SendToTarget()\r\n    ' $1\r\n    $2 $3, &H$4, $5, $6\r\nEnd Sub";
// $0 Declare's words, $1 the handle type, $2 the function, $3 how lParam is passed.
constexpr char kVbDeclare[] = "Private Declare $0Function $2 Lib \"user32\" Alias \"$2A\" "
    "(ByVal hWnd As $1, ByVal wMsg As Long, ByVal wParam As $1, $3) As $1\r\n";
constexpr char kVbChildDeclare[] = "Private Declare $0Function GetDlgItem Lib \"user32\" "
    "(ByVal hDlg As $1, ByVal nIDDlgItem As Long) As $1\r\n";
constexpr char kCpp[] = "$0\r\n// $1\r\n$2W($3, 0x$4, 0x$5, $6);";
constexpr char kImportByEntryPoint[] =
    "[System.Runtime.InteropServices.DllImport(\"user32.dll\", CharSet = "
    "System.Runtime.InteropServices.CharSet.Unicode, EntryPoint = \"";
// $8 lParam's type, $9 the import attribute up to the entry point's name.
constexpr char kCSharp[] = "$0\r\n\r\n$7$9$2W\")]\r\n"
    "static extern System.IntPtr $2WToTarget(System.IntPtr hWnd, uint msg, System.UIntPtr wParam, $8 lParam);\r\n"
    "static void SendToTarget()\r\n{\r\n    System.IntPtr target = FindTarget();\r\n    // $1\r\n"
    "    $2WToTarget(target, 0x$4, new System.UIntPtr(0x$5), $6);\r\n}";
constexpr char kCSharpChild[] = "GetDlgItem\")]\r\n"
    "static extern System.IntPtr ChildOfTarget(System.IntPtr hDlg, int id);\r\n";
constexpr char kPython[] = "$0\r\n\r\n$7user32.$2W.argtypes = (wintypes.HWND, wintypes.UINT, "
    "wintypes.WPARAM, $8)\r\n# $1\r\nuser32.$2W($3, 0x$4, 0x$5, $6)";
constexpr char kPythonChild[] = "user32.GetDlgItem.argtypes = (wintypes.HWND, ctypes.c_int)\r\n"
    "user32.GetDlgItem.restype = wintypes.HWND\r\n";
// clang-format on

// The text with each $N replaced by the Nth value.
std::string Fill(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '$' && i + 1 < text.size()) {
      out += values.begin()[text[++i] - '0'];
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Hex(std::uint64_t value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789ABCDEF"[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return digits;
}

std::string Decimal(std::int64_t value) { return (TextPieces() << value).Take(); }

// Visual Basic: a Long in decimal where it fits, else hex.
std::string VbNumber(std::uint64_t value) {
  return value <= 0x7FFFFFFF ? Decimal(static_cast<std::int64_t>(value))
                             : "&H" + Hex(value) + "&";
}

// The declarations that the Visual Basic call needs, with Declare's words
// and the handle type of one dialect.
std::string VbDeclarations(const MessageToSend& message, std::string_view function,
                           bool vba7) {
  const std::string_view declare = vba7 ? "PtrSafe " : "";
  const std::string_view handle = vba7 ? "LongPtr" : "Long";
  const bool text = std::holds_alternative<std::string>(message.lparam);
  std::string lines = Fill(
      kVbDeclare, {declare, handle, function,
                   text ? "lParam As Any" : "ByVal lParam As " + std::string(handle)});
  if (std::holds_alternative<ChildWithId>(message.lparam)) {
    lines += Fill(kVbChildDeclare, {declare, handle});
  }
  return lines;
}

}  // namespace

std::string EmitSendCode(const SearchPlan& plan, FinderLanguage language,
                         const FinderStyle& style, const MessageToSend& message) {
  const auto* text = std::get_if<std::string>(&message.lparam);
  const auto* child = std::get_if<ChildWithId>(&message.lparam);
  const std::string_view function = message.post && !text ? "PostMessage" : "SendMessage";
  const std::string comment =
      message.name + (message.comment.empty() ? "" : ": " + message.comment);
  const std::string finder = EmitFinderCode(plan, language, style);
  const std::string hex_message = Hex(message.message);
  const std::string hex_wparam = Hex(message.wparam);
  const std::string number =
      text || child ? std::string() : Decimal(std::get<std::int64_t>(message.lparam));
  const std::string id = child ? Decimal(child->id) : std::string();
  switch (language) {
    case FinderLanguage::kVisualBasic:
    case FinderLanguage::kVba: {
      const bool vba = language == FinderLanguage::kVba;
      const std::string target = vba ? "FindTarget()" : VisualBasicNames(plan).back();
      std::string lparam;
      if (text) {
        lparam = "ByVal " + VisualBasicLiteral(*text);
      } else if (child) {
        lparam = "GetDlgItem(" + target + ", " + id + ")";
      } else {
        const std::int64_t value = std::get<std::int64_t>(message.lparam);
        lparam = value < 0 ? number : VbNumber(static_cast<std::uint64_t>(value));
      }
      const std::string declarations =
          vba || style.declarations ? VbDeclarations(message, function, vba) : "";
      return Fill(
          vba ? kVba : kVisualBasic,
          {finder, comment, function, target, hex_message, VbNumber(message.wparam),
           lparam, declarations, vba ? VbDeclarations(message, function, false) : ""});
    }
    case FinderLanguage::kCpp: {
      const std::string target = CppNames(plan).back();
      const std::string lparam =
          text    ? "reinterpret_cast<LPARAM>(" + CppWideLiteral(*text) + ")"
          : child ? "reinterpret_cast<LPARAM>(GetDlgItem(" + target + ", " + id + "))"
                  : number;
      return Fill(kCpp,
                  {finder, comment, function, target, hex_message, hex_wparam, lparam});
    }
    case FinderLanguage::kCSharp: {
      const std::string lparam = text    ? CSharpLiteral(*text)
                                 : child ? "ChildOfTarget(target, " + id + ")"
                                         : "new System.IntPtr(" + number + ")";
      return Fill(kCSharp,
                  {finder, comment, function, "", hex_message, hex_wparam, lparam,
                   child ? kImportByEntryPoint + std::string(kCSharpChild) : "",
                   text ? "string" : "System.IntPtr", kImportByEntryPoint});
    }
    case FinderLanguage::kPython: {
      const std::string target = PythonNames(plan).back();
      const std::string lparam =
          text    ? PythonLiteral(*text)
          : child ? "user32.GetDlgItem(" + target + ", " + id + ") or 0"
                  : number;
      return Fill(kPython, {finder, comment, function, target, hex_message, hex_wparam,
                            lparam, child ? kPythonChild : "",
                            text ? "wintypes.LPCWSTR" : "wintypes.LPARAM"});
    }
  }
  return {};
}

}  // namespace winscout::codegen
