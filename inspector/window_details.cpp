#include "inspector/window_details.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "inspector/class_styles.h"
#include "platform/text_pieces.h"

namespace winscout::inspector {
namespace {

struct StyleBit {
  std::uint32_t bits;
  const char* name;
};

// Combined names before their parts, so that a caption reads as one.
constexpr std::array kStyleBits = {
    StyleBit{0x80000000, "WS_POPUP"},        StyleBit{0x40000000, "WS_CHILD"},
    StyleBit{0x20000000, "WS_MINIMIZE"},     StyleBit{0x10000000, "WS_VISIBLE"},
    StyleBit{0x08000000, "WS_DISABLED"},     StyleBit{0x04000000, "WS_CLIPSIBLINGS"},
    StyleBit{0x02000000, "WS_CLIPCHILDREN"}, StyleBit{0x01000000, "WS_MAXIMIZE"},
    StyleBit{0x00C00000, "WS_CAPTION"},      StyleBit{0x00800000, "WS_BORDER"},
    StyleBit{0x00400000, "WS_DLGFRAME"},     StyleBit{0x00200000, "WS_VSCROLL"},
    StyleBit{0x00100000, "WS_HSCROLL"},      StyleBit{0x00080000, "WS_SYSMENU"},
    StyleBit{0x00040000, "WS_THICKFRAME"},
};
// These two bits mean one thing in a child window and another in a top-level one.
constexpr std::uint32_t kChildStyle = 0x40000000;
constexpr StyleBit kChildBits[] = {{0x00020000, "WS_GROUP"}, {0x00010000, "WS_TABSTOP"}};
constexpr StyleBit kTopLevelBits[] = {{0x00020000, "WS_MINIMIZEBOX"},
                                      {0x00010000, "WS_MAXIMIZEBOX"}};

constexpr std::array kExStyleBits = {
    StyleBit{0x00000001, "WS_EX_DLGMODALFRAME"},
    StyleBit{0x00000004, "WS_EX_NOPARENTNOTIFY"},
    StyleBit{0x00000008, "WS_EX_TOPMOST"},
    StyleBit{0x00000010, "WS_EX_ACCEPTFILES"},
    StyleBit{0x00000020, "WS_EX_TRANSPARENT"},
    StyleBit{0x00000040, "WS_EX_MDICHILD"},
    StyleBit{0x00000080, "WS_EX_TOOLWINDOW"},
    StyleBit{0x00000100, "WS_EX_WINDOWEDGE"},
    StyleBit{0x00000200, "WS_EX_CLIENTEDGE"},
    StyleBit{0x00000400, "WS_EX_CONTEXTHELP"},
    StyleBit{0x00001000, "WS_EX_RIGHT"},
    StyleBit{0x00002000, "WS_EX_RTLREADING"},
    StyleBit{0x00004000, "WS_EX_LEFTSCROLLBAR"},
    StyleBit{0x00010000, "WS_EX_CONTROLPARENT"},
    StyleBit{0x00020000, "WS_EX_STATICEDGE"},
    StyleBit{0x00040000, "WS_EX_APPWINDOW"},
    StyleBit{0x00080000, "WS_EX_LAYERED"},
    StyleBit{0x00100000, "WS_EX_NOINHERITLAYOUT"},
    StyleBit{0x00200000, "WS_EX_NOREDIRECTIONBITMAP"},
    StyleBit{0x00400000, "WS_EX_LAYOUTRTL"},
    StyleBit{0x02000000, "WS_EX_COMPOSITED"},
    StyleBit{0x08000000, "WS_EX_NOACTIVATE"},
};

void Append(std::string& names, std::string_view name) {
  if (!names.empty()) names += " | ";
  names += name;
}

template <typename Bits>
void NameBits(std::uint32_t& left, const Bits& bits, std::string& names) {
  for (const StyleBit& bit : bits) {
    if ((left & bit.bits) != bit.bits) continue;
    Append(names, bit.name);
    left &= ~bit.bits;
  }
}

std::string FlagsText(std::uint32_t value, std::string names, std::uint32_t left) {
  if (left != 0) Append(names, Hex32(left));
  std::string text = Hex32(value);
  if (!names.empty()) {
    text += ' ';
    text += names;
  }
  return text;
}

std::string YesNo(bool value) { return value ? "Yes" : "No"; }

std::string DpiText(DpiAwareness awareness, int dpi) {
  const char* name = nullptr;
  switch (awareness) {
    case DpiAwareness::kUnaware:
      name = "Unaware";
      break;
    case DpiAwareness::kSystemAware:
      name = "System aware";
      break;
    case DpiAwareness::kPerMonitorAware:
      name = "Per-monitor aware";
      break;
    case DpiAwareness::kUnknown:
      return "Not reported";
  }
  if (dpi <= 0) return name;
  return (TextPieces() << name << " (" << dpi << " dpi)").Take();
}

// A related window: its handle and class, or "None".
std::string RelativeText(FactsMemo& memo, WindowHandle window) {
  if (window == 0) return "None";
  const std::optional<WindowFacts>& facts = memo.Facts(window);
  TextPieces text;
  text << HandleText(window) << ' ';
  if (facts) text << facts->class_name;
  return text.Take();
}

}  // namespace

// By hand rather than with printf, whose MinGW form brings its whole
// formatting engine into the program.
std::string Hex32(std::uint32_t value) {
  std::string text = "0x00000000";
  for (std::size_t i = text.size() - 1; value != 0; --i, value >>= 4) {
    text[i] = "0123456789ABCDEF"[value & 0xf];
  }
  return text;
}

std::string HandleText(WindowHandle window) {
  return (TextPieces() << Hex32(static_cast<std::uint32_t>(window)) << " (" << window
                       << ')')
      .Take();
}

std::string RectText(const PixelRect& r) {
  return (TextPieces() << '(' << r.left << ", " << r.top << ") - (" << r.right << ", "
                       << r.bottom << "), " << static_cast<long long>(r.right) - r.left
                       << " x " << static_cast<long long>(r.bottom) - r.top)
      .Take();
}

std::string StyleText(std::uint32_t style, std::string_view class_name) {
  std::uint32_t left = style;
  std::string names;
  NameBits(left, kStyleBits, names);
  if (style & kChildStyle) {
    NameBits(left, kChildBits, names);
  } else {
    NameBits(left, kTopLevelBits, names);
  }
  NameClassStyles(class_name, left, names);
  return FlagsText(style, std::move(names), left);
}

std::string ExStyleText(std::uint32_t ex_style) {
  std::uint32_t left = ex_style;
  std::string names;
  NameBits(left, kExStyleBits, names);
  return FlagsText(ex_style, std::move(names), left);
}

std::vector<DetailLine> DescribeWindowDetails(const WindowSystem& windows,
                                              WindowHandle window) {
  FactsMemo memo(windows);
  return DescribeWindowDetails(memo, window);
}

std::vector<DetailLine> DescribeWindowDetails(FactsMemo& memo, WindowHandle window) {
  const WindowSystem& windows = memo.windows();
  const std::optional<WindowFacts>& facts = memo.Facts(window);
  if (!facts) return {};
  std::optional<std::string> live = memo.LiveText(window, kLiveTextTimeoutMs);
  if (live && ReachesTextLimit(*live)) *live += kTextCut;
  const bool child = facts->parent != 0;
  constexpr std::uint32_t kTopmost = 0x00000008;
  return {
      {"Handle", HandleText(window)},
      {"Class", facts->class_name},
      {"Title", facts->title},
      {"Text", live ? *live : kNotResponding},
      {"Window rectangle", RectText(facts->window_rect)},
      {"Client rectangle", RectText(facts->client_rect)},
      {"Style", StyleText(facts->style, facts->class_name)},
      {"Extended style", ExStyleText(facts->ex_style)},
      {"Control ID", child ? DecimalText(windows.ControlId(window)) : "N/A"},
      {"Parent", RelativeText(memo, facts->parent)},
      {"Owner", RelativeText(memo, facts->owner)},
      {"Process ID", DecimalText(facts->process_id)},
      {"Image path", memo.ImagePath(facts->process_id)},
      {"Thread ID", DecimalText(facts->thread_id)},
      {"Visible", YesNo(facts->visible)},
      {"Enabled", YesNo(facts->enabled)},
      {"Topmost", YesNo(!child && (facts->ex_style & kTopmost) != 0)},
      {"DPI awareness", DpiText(facts->dpi_awareness, facts->dpi)},
  };
}

std::vector<DetailLine> DescribeGoneWindow(WindowHandle window) {
  return {{"Handle", HandleText(window)}, {"State", kGone}};
}

std::string CopyText(const DetailLine& line) { return line.name + ": " + line.value; }

}  // namespace winscout::inspector
