#include "codegen/send_message_code.h"

#include <initializer_list>

#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/finder_texts.h"
#include "codegen/literals.h"
#include "codegen/python_emitter.h"
#include "codegen/statements.h"
#include "codegen/template_text.h"
#include "codegen/visual_basic.h"
#include "platform/text_pieces.h"

// The code is kept as text with placeholders (finder_texts.txt says what
// each stands for) rather than built from pieces: the program carries the
// text once, packed, not the code that would build it.

namespace winscout::codegen {
namespace {

// The part's text (finder_texts.txt), its lines joined by CR LF.
std::string Text(FinderPart part) { return JoinLines(FinderTextLines(part)); }

// A placeholder's name and what it stands for.
struct Value {
  std::string_view name;
  std::string_view text;
};

// The text with each placeholder replaced by its value.
std::string Fill(std::string_view text, std::initializer_list<Value> values) {
  std::string out;
  ExpandTemplate(text, out, [&](std::string_view name, std::string& into) {
    for (const Value& value : values) {
      if (value.name == name) into += value.text;
    }
  });
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

// Visual Basic: a Long in decimal where it fits, else hex.
std::string VbNumber(std::uint64_t value) {
  return value <= 0x7FFFFFFF ? DecimalText(static_cast<std::int64_t>(value))
                             : "&H" + Hex(value) + "&";
}

// The declarations that the Visual Basic call needs, with Declare's words
// and the handle type of one dialect.
std::string VbDeclarations(const MessageToSend& message, std::string_view function,
                           bool vba7) {
  const std::string_view declare = vba7 ? "PtrSafe " : "";
  const std::string_view handle = vba7 ? "LongPtr" : "Long";
  const bool text = std::holds_alternative<std::string>(message.lparam);
  const std::string lparam =
      text ? "lParam As Any" : "ByVal lParam As " + std::string(handle);
  std::string lines = Fill(Text(FinderPart::kSendVbDeclare), {{"ptr_safe", declare},
                                                              {"handle", handle},
                                                              {"function", function},
                                                              {"lparam", lparam}});
  lines += "\r\n";
  if (std::holds_alternative<ChildWithId>(message.lparam)) {
    lines += Fill(Text(FinderPart::kSendVbChildDeclare),
                  {{"ptr_safe", declare}, {"handle", handle}});
    lines += "\r\n";
  }
  return lines;
}

// Where the finder code goes in the send code's text.
constexpr std::string_view kFinderMark = "\x01";

std::string SendText(const SearchPlan& plan, FinderLanguage language,
                     const FinderStyle& style, const MessageToSend& message,
                     std::string_view target_name) {
  const auto* text = std::get_if<std::string>(&message.lparam);
  const auto* child = std::get_if<ChildWithId>(&message.lparam);
  const std::string_view function = message.post && !text ? "PostMessage" : "SendMessage";
  const std::string comment =
      message.name + (message.comment.empty() ? "" : ": " + message.comment);
  const std::string finder(kFinderMark);
  auto named = [&](std::string name) {
    return target_name.empty() ? name : std::string(target_name);
  };
  const std::string hex_message = Hex(message.message);
  const std::string hex_wparam = Hex(message.wparam);
  const std::string number =
      text || child ? std::string() : DecimalText(std::get<std::int64_t>(message.lparam));
  const std::string id = child ? DecimalText(child->id) : std::string();
  // What each language's text needs; one Fill for them all, as a text
  // leaves out the placeholders it does not have.
  FinderPart part = FinderPart::kSendCpp;
  std::string target, wparam = hex_wparam, lparam, declarations, declarations_before_vba7,
                      import;
  std::string_view lparam_type;
  switch (language) {
    case FinderLanguage::kVisualBasic:
    case FinderLanguage::kVba: {
      const bool vba = language == FinderLanguage::kVba;
      part = vba ? FinderPart::kSendVba : FinderPart::kSendVb;
      target = vba ? "FindTarget()" : named(VisualBasicNames(plan).back());
      wparam = VbNumber(message.wparam);
      if (text) {
        lparam = "ByVal " + VisualBasicLiteral(*text);
      } else if (child) {
        lparam = "GetDlgItem(" + target + ", " + id + ")";
      } else {
        const std::int64_t value = std::get<std::int64_t>(message.lparam);
        lparam = value < 0 ? number : VbNumber(static_cast<std::uint64_t>(value));
      }
      if (vba || style.declarations)
        declarations = VbDeclarations(message, function, vba);
      if (vba) declarations_before_vba7 = VbDeclarations(message, function, false);
      break;
    }
    case FinderLanguage::kCpp:
      target = named(CppNames(plan).back());
      lparam = text ? "reinterpret_cast<LPARAM>(" + CppWideLiteral(*text) + ")"
               : child
                   ? "reinterpret_cast<LPARAM>(GetDlgItem(" + target + ", " + id + "))"
                   : number;
      break;
    case FinderLanguage::kCSharp:
      part = FinderPart::kSendCs;
      lparam = text    ? CSharpLiteral(*text)
               : child ? "ChildOfTarget(target, " + id + ")"
                       : "new System.IntPtr(" + number + ")";
      import = Text(FinderPart::kSendCsImport);
      if (child) declarations = import + Text(FinderPart::kSendCsChild) + "\r\n";
      lparam_type = text ? "string" : "System.IntPtr";
      break;
    case FinderLanguage::kPython:
      part = FinderPart::kSendPy;
      target = named(PythonNames(plan).back());
      lparam = text    ? PythonLiteral(*text)
               : child ? "user32.GetDlgItem(" + target + ", " + id + ") or 0"
                       : number;
      if (child) declarations = Text(FinderPart::kSendPyChild) + "\r\n";
      lparam_type = text ? "wintypes.LPCWSTR" : "wintypes.LPARAM";
      break;
  }
  return Fill(Text(part), {{"finder", finder},
                           {"comment", comment},
                           {"function", function},
                           {"target", target},
                           {"message", hex_message},
                           {"wparam", wparam},
                           {"lparam", lparam},
                           {"declarations", declarations},
                           {"declarations_before_vba7", declarations_before_vba7},
                           {"lparam_type", lparam_type},
                           {"import", import}});
}

}  // namespace

std::string EmitSendCode(const SearchPlan& plan, FinderLanguage language,
                         const FinderStyle& style, const MessageToSend& message) {
  const SendCodeParts parts = SpellSendCode(plan, language, style, message);
  return parts.above + EmitFinderCode(plan, language, style) + parts.below;
}

SendCodeParts SpellSendCode(const SearchPlan& plan, FinderLanguage language,
                            const FinderStyle& style, const MessageToSend& message,
                            std::string_view target_name) {
  const std::string code = SendText(plan, language, style, message, target_name);
  const std::size_t mark = code.find(kFinderMark);
  return {code.substr(0, mark), code.substr(mark + kFinderMark.size())};
}

}  // namespace winscout::codegen
