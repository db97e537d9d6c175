#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "inspector/facts_memo.h"
#include "platform/window_system.h"

namespace winscout::inspector {

// One line of a window's details: what it is, and its value.
struct DetailLine {
  std::string name;
  std::string value;
  friend bool operator==(const DetailLine&, const DetailLine&) = default;
};

// How long the details wait for a window to tell its own text.
inline constexpr int kLiveTextTimeoutMs = 250;
inline constexpr char kNotResponding[] = "(not responding)";
// After a text read up to the limit, which may go on.
inline constexpr char kTextCut[] = " ... (cut: WinScout reads 131072 characters at most)";

// "0x0001002C (65580)": the handle's 32 bits in hex, then as the report shows it.
std::string HandleText(WindowHandle window);
// 0x and eight upper-case hex digits.
std::string Hex32(std::uint32_t value);
// "(20, 300) - (300, 500), 280 x 200"
std::string RectText(const PixelRect& rect);
// The style in hex and the names of its bits, "0x50010000 WS_CHILD | WS_VISIBLE
// | WS_TABSTOP | BS_PUSHBUTTON", the class's own among them where the class is
// a standard control; bits without a name stay hex.
std::string StyleText(std::uint32_t style, std::string_view class_name = {});
std::string ExStyleText(std::uint32_t ex_style);

// Every detail of the window, read now; nothing for a window that is gone.
std::vector<DetailLine> DescribeWindowDetails(const WindowSystem& windows,
                                              WindowHandle window);
// The same, with the facts and image paths that the memo has read, or reads
// and keeps: for a pass over many windows.
std::vector<DetailLine> DescribeWindowDetails(FactsMemo& memo, WindowHandle window);

inline constexpr char kGone[] = "This window no longer exists.";
// What can still be said of a window that is gone: its handle, and that.
std::vector<DetailLine> DescribeGoneWindow(WindowHandle window);

// "Name: value", as the line is copied.
std::string CopyText(const DetailLine& line);

}  // namespace winscout::inspector
