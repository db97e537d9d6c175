#include "codegen/stable_names.h"

#include <algorithm>
#include <array>

namespace winscout::codegen {
namespace {

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsDecimal(char c) { return c >= '0' && c <= '9'; }

// Hex digits, `count` of them exactly, at `at`.
bool HexRunAt(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return false;
  return std::ranges::all_of(text.substr(at, count), IsHex);
}

// Pieces of hex digits joined by `separator`, at least `least` and at most
// `most` of them, making up the whole text.
bool HexPieces(std::string_view text, char separator, std::size_t least,
               std::size_t most) {
  std::size_t pieces = 0;
  for (std::size_t start = 0;; ++pieces) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    if (end == start || !HexRunAt(text, start, end - start)) return false;
    if (end == text.size()) return pieces + 1 >= least && pieces + 1 <= most;
    start = end + 1;
  }
}

// A GUID (8-4-4-4-12 hex digits, braces or not) starting at `at`.
bool GuidAt(std::string_view text, std::size_t at) {
  if (at < text.size() && text[at] == '{') ++at;
  constexpr std::array<std::size_t, 5> kGroups = {8, 4, 4, 4, 12};
  for (std::size_t group = 0; group < kGroups.size(); ++group) {
    if (!HexRunAt(text, at, kGroups[group])) return false;
    at += kGroups[group];
    if (group + 1 < kGroups.size() && (at >= text.size() || text[at++] != '-')) {
      return false;
    }
  }
  return true;
}

// Where the first piece that looks made at run time starts: a GUID, or a run
// of 8 or more hex digits with a decimal digit among them (a pointer, a
// handle, a hash; a run of letters alone is a word like "deadbeef" at most).
std::optional<std::size_t> FirstRunDependentPiece(std::string_view name) {
  for (std::size_t at = 0; at < name.size(); ++at) {
    if (GuidAt(name, at)) return at;
    if (!IsHex(name[at]) || (at > 0 && IsHex(name[at - 1]))) continue;
    std::size_t end = at;
    while (end < name.size() && IsHex(name[end])) ++end;
    if (end - at >= 8 && std::ranges::any_of(name.substr(at, end - at), IsDecimal)) {
      return at;
    }
  }
  return std::nullopt;
}

std::string Capitalised(std::string_view word) {
  std::string text(word);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (i == 0 && c >= 'a' && c <= 'z') text[i] = static_cast<char>(c - 'a' + 'A');
    if (i > 0 && c >= 'A' && c <= 'Z') text[i] = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

ClassJudgement RunDependent(std::string_view stable_part, std::string name_source) {
  return {true, std::string(stable_part), std::move(name_source)};
}

// The frameworks' own forms, each with its pieces counted where the
// framework fixes them.
std::optional<ClassJudgement> FrameworkClass(std::string_view name) {
  // MFC: Afx:<module>:<style>, or with the cursor, brush and icon after them.
  constexpr std::string_view kAfx = "Afx:";
  if (name.starts_with(kAfx) && HexPieces(name.substr(kAfx.size()), ':', 2, 5)) {
    return RunDependent(kAfx, "Afx");
  }
  // ATL: ATL:<address>.
  constexpr std::string_view kAtl = "ATL:";
  if (name.starts_with(kAtl) && HexPieces(name.substr(kAtl.size()), ':', 1, 1)) {
    return RunDependent(kAtl, "ATL");
  }
  // WinForms: WindowsForms10.<kind>.app.<domain>.<hash>_r<n>_ad<n>, where a
  // form's kind carries its class style (Window.8).
  constexpr std::string_view kForms = "WindowsForms10.";
  constexpr std::string_view kApp = ".app.";
  if (name.starts_with(kForms)) {
    const std::size_t kind_end = name.find(kApp, kForms.size());
    if (kind_end != std::string_view::npos && kind_end > kForms.size() &&
        kind_end + kApp.size() < name.size()) {
      const std::string_view kind = name.substr(kForms.size(), kind_end - kForms.size());
      return RunDependent(name.substr(0, kind_end + kApp.size()),
                          "WindowsForms" + Capitalised(kind.substr(0, kind.find('.'))));
    }
  }
  // WPF: HwndWrapper[<exe>;<domain>;<GUID>].
  constexpr std::string_view kWrapper = "HwndWrapper[";
  if (name.starts_with(kWrapper) && name.ends_with(']')) {
    const std::size_t exe_end = name.find(';', kWrapper.size());
    if (exe_end != std::string_view::npos && name.find(';', exe_end + 1) != name.npos) {
      return RunDependent(name.substr(0, exe_end + 1), "HwndWrapper");
    }
  }
  return std::nullopt;
}

// Titles longer than this are more than a short line.
constexpr std::size_t kMaxSturdyTitle = 60;

// The dashes that part a document's name from its program's, with their
// blanks: hyphen, en dash and em dash.
constexpr std::string_view kDocumentDashes[] = {" - ", " \u2013 ", " \u2014 "};

}  // namespace

ClassJudgement JudgeClassName(std::string_view class_name) {
  if (auto framework = FrameworkClass(class_name)) return std::move(*framework);
  if (const auto piece = FirstRunDependentPiece(class_name)) {
    const std::string_view stable = class_name.substr(0, *piece);
    return RunDependent(stable, std::string(stable));
  }
  return {false, std::string(class_name), std::string(class_name)};
}

bool IsSturdyId(std::int32_t id, WindowHandle window) {
  return id >= 1 && id <= 0xffff && id != (window & 0xffff);
}

bool IsSturdyTitle(std::string_view title) {
  return !title.empty() && title.size() <= kMaxSturdyTitle &&
         std::ranges::none_of(title, [](char c) {
           return IsDecimal(c) || c == '\\' || c == '/' ||
                  static_cast<unsigned char>(c) < 0x20;
         });
}

std::optional<TitleKey> JudgeTitle(std::string_view title) {
  std::size_t program = std::string_view::npos;
  std::size_t dash = 0;
  for (std::string_view each : kDocumentDashes) {
    const std::size_t at = title.rfind(each);
    if (at != std::string_view::npos && at > 0 &&
        (program == std::string_view::npos || at + each.size() > program)) {
      program = at + each.size();
      dash = at;
    }
  }
  if (program != std::string_view::npos && IsSturdyTitle(title.substr(program))) {
    return TitleKey{TitleKey::Match::kEnd, std::string(title.substr(dash))};
  }
  if (IsSturdyTitle(title)) return TitleKey{TitleKey::Match::kWhole, std::string(title)};
  return std::nullopt;
}

}  // namespace winscout::codegen
