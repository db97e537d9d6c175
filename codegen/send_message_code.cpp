#include "codegen/send_message_code.h"

#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/python_emitter.h"
#include "codegen/statements.h"
#include "codegen/vba_emitter.h"
#include "codegen/visual_basic.h"

namespace winscout::codegen {
namespace {

std::string Hex(std::uint64_t value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789ABCDEF"[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return digits;
}

std::string Comment(const MessageToSend& message) {
  return message.name + (message.comment.empty() ? "" : ": " + message.comment);
}

bool IsText(const MessageToSend& message) {
  return std::holds_alternative<std::string>(message.lparam);
}

const char* Function(const MessageToSend& message) {
  return message.post && !IsText(message) ? "PostMessage" : "SendMessage";
}

// Visual Basic: a Long in decimal where it fits, else hex.
std::string VbNumber(std::uint64_t value) {
  return value <= 0x7FFFFFFF ? std::to_string(value) : "&H" + Hex(value) + "&";
}

std::string VbLParam(const MessageToSend& message, const std::string& target) {
  if (const auto* text = std::get_if<std::string>(&message.lparam)) {
    return "ByVal " + VisualBasicLiteral(*text);
  }
  if (const auto* child = std::get_if<ChildWithId>(&message.lparam)) {
    return "GetDlgItem(" + target + ", " + std::to_string(child->id) + ")";
  }
  const std::int64_t number = std::get<std::int64_t>(message.lparam);
  return number < 0 ? std::to_string(number)
                    : VbNumber(static_cast<std::uint64_t>(number));
}

// The statement, in the Visual Basic of both dialects.
std::string VbCall(const MessageToSend& message, const std::string& target) {
  return std::string(Function(message)) + " " + target + ", &H" + Hex(message.message) +
         ", " + VbNumber(message.wparam) + ", " + VbLParam(message, target);
}

std::vector<std::string> VbDeclarations(const MessageToSend& message, bool vba7) {
  const std::string declare =
      vba7 ? "Private Declare PtrSafe Function " : "Private Declare Function ";
  const std::string handle = vba7 ? "LongPtr" : "Long";
  std::vector<std::string> lines = {
      declare + Function(message) + " Lib \"user32\" Alias \"" + Function(message) +
      "A\" (ByVal hWnd As " + handle + ", ByVal wMsg As Long, ByVal wParam As " + handle +
      ", " + (IsText(message) ? "lParam As Any" : "ByVal lParam As " + handle) + ") As " +
      handle};
  if (std::holds_alternative<ChildWithId>(message.lparam)) {
    lines.push_back(declare + "GetDlgItem Lib \"user32\" (ByVal hDlg As " + handle +
                    ", ByVal nIDDlgItem As Long) As " + handle);
  }
  return lines;
}

std::string VisualBasic(const SearchPlan& plan, const FinderStyle& style,
                        const MessageToSend& message) {
  std::vector<std::string> lines;
  if (style.declarations) lines = VbDeclarations(message, false);
  lines.push_back(EmitFinderCode(plan, FinderLanguage::kVisualBasic, style));
  lines.push_back("' " + Comment(message));
  lines.push_back(VbCall(message, VisualBasicNames(plan).back()));
  return JoinLines(lines);
}

std::string Vba(const SearchPlan& plan, const FinderStyle& style,
                const MessageToSend& message) {
  std::vector<std::string> lines = {"#If VBA7 Then"};
  for (std::string& line : VbDeclarations(message, true))
    lines.push_back(std::move(line));
  lines.push_back("#Else");
  for (std::string& line : VbDeclarations(message, false))
    lines.push_back(std::move(line));
  lines.push_back("#End If");
  lines.push_back(EmitFinderCode(plan, FinderLanguage::kVba, style));
  lines.push_back("");
  lines.push_back("Public Sub SendToTarget()");
  lines.push_back("    ' " + Comment(message));
  lines.push_back("    " + VbCall(message, "FindTarget()"));
  lines.push_back("End Sub");
  return JoinLines(lines);
}

std::string Cpp(const SearchPlan& plan, const FinderStyle& style,
                const MessageToSend& message) {
  const std::string target = CppNames(plan).back();
  std::string lparam;
  if (const auto* text = std::get_if<std::string>(&message.lparam)) {
    lparam = "reinterpret_cast<LPARAM>(" + CppWideLiteral(*text) + ")";
  } else if (const auto* child = std::get_if<ChildWithId>(&message.lparam)) {
    lparam = "reinterpret_cast<LPARAM>(GetDlgItem(" + target + ", " +
             std::to_string(child->id) + "))";
  } else {
    lparam = std::to_string(std::get<std::int64_t>(message.lparam));
  }
  return JoinLines(
      {EmitFinderCode(plan, FinderLanguage::kCpp, style), "// " + Comment(message),
       std::string(Function(message)) + "W(" + target + ", 0x" + Hex(message.message) +
           ", 0x" + Hex(message.wparam) + ", " + lparam + ");"});
}

std::string CSharp(const SearchPlan& plan, const FinderStyle& style,
                   const MessageToSend& message) {
  constexpr char kImport[] =
      "[System.Runtime.InteropServices.DllImport(\"user32.dll\", CharSet = "
      "System.Runtime.InteropServices.CharSet.Unicode, EntryPoint = \"";
  const std::string function = std::string(Function(message)) + "W";
  std::string lparam_type = "System.IntPtr";
  std::string lparam;
  std::vector<std::string> lines = {EmitFinderCode(plan, FinderLanguage::kCSharp, style),
                                    ""};
  if (const auto* text = std::get_if<std::string>(&message.lparam)) {
    lparam_type = "string";
    lparam = CSharpLiteral(*text);
  } else if (const auto* child = std::get_if<ChildWithId>(&message.lparam)) {
    lines.push_back(std::string(kImport) + "GetDlgItem\")]");
    lines.push_back(
        "static extern System.IntPtr ChildOfTarget(System.IntPtr hDlg, int id);");
    lparam = "ChildOfTarget(target, " + std::to_string(child->id) + ")";
  } else {
    lparam = "new System.IntPtr(" +
             std::to_string(std::get<std::int64_t>(message.lparam)) + ")";
  }
  lines.push_back(std::string(kImport) + function + "\")]");
  lines.push_back("static extern System.IntPtr " + function +
                  "ToTarget(System.IntPtr hWnd, uint msg, "
                  "System.UIntPtr wParam, " +
                  lparam_type + " lParam);");
  lines.push_back("static void SendToTarget()");
  lines.push_back("{");
  lines.push_back("    System.IntPtr target = FindTarget();");
  lines.push_back("    // " + Comment(message));
  lines.push_back("    " + function + "ToTarget(target, 0x" + Hex(message.message) +
                  ", new System.UIntPtr(0x" + Hex(message.wparam) + "), " + lparam +
                  ");");
  lines.push_back("}");
  return JoinLines(lines);
}

std::string Python(const SearchPlan& plan, const FinderStyle& style,
                   const MessageToSend& message) {
  const std::string target = PythonNames(plan).back();
  const std::string function = "user32." + std::string(Function(message)) + "W";
  std::string lparam_type = "wintypes.LPARAM";
  std::string lparam;
  std::vector<std::string> lines = {EmitFinderCode(plan, FinderLanguage::kPython, style),
                                    ""};
  if (const auto* text = std::get_if<std::string>(&message.lparam)) {
    lparam_type = "wintypes.LPCWSTR";
    lparam = PythonLiteral(*text);
  } else if (const auto* child = std::get_if<ChildWithId>(&message.lparam)) {
    lines.push_back("user32.GetDlgItem.argtypes = (wintypes.HWND, ctypes.c_int)");
    lines.push_back("user32.GetDlgItem.restype = wintypes.HWND");
    lparam = "user32.GetDlgItem(" + target + ", " + std::to_string(child->id) + ") or 0";
  } else {
    lparam = std::to_string(std::get<std::int64_t>(message.lparam));
  }
  lines.push_back(function +
                  ".argtypes = (wintypes.HWND, wintypes.UINT, wintypes.WPARAM, " +
                  lparam_type + ")");
  lines.push_back("# " + Comment(message));
  lines.push_back(function + "(" + target + ", 0x" + Hex(message.message) + ", 0x" +
                  Hex(message.wparam) + ", " + lparam + ")");
  return JoinLines(lines);
}

}  // namespace

std::string EmitSendCode(const SearchPlan& plan, FinderLanguage language,
                         const FinderStyle& style, const MessageToSend& message) {
  switch (language) {
    case FinderLanguage::kVisualBasic:
      return VisualBasic(plan, style, message);
    case FinderLanguage::kVba:
      return Vba(plan, style, message);
    case FinderLanguage::kCpp:
      return Cpp(plan, style, message);
    case FinderLanguage::kCSharp:
      return CSharp(plan, style, message);
    case FinderLanguage::kPython:
      return Python(plan, style, message);
  }
  return {};
}

}  // namespace winscout::codegen
