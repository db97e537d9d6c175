"""The C++ programs around the code that WinScout writes, and the form that code
must have."""

import re

# A program around pieces of finder code in C++, each in a function of its
# own: it prints the handle that the piece its argument names finds, as
# WinScout shows handles. The pattern helper needs <cwchar> and <string>.
CPP_PROGRAM = """#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

{finders}
int main(int argc, char** argv) {{
  HWND (*const finders[])() = {{{names}}};
  const HWND found = finders[argc > 1 ? std::atoi(argv[1]) : 0]();
  std::printf("%ld\\n", static_cast<long>(static_cast<std::int32_t>(
                           reinterpret_cast<std::intptr_t>(found))));
  return 0;
}}
"""
CPP_FINDER = """static HWND Find{number}() {{
{code}
  return {target};
}}

"""
CPP_LITERAL = r'L"(?:[^"\\]|\\.)*"'
CPP_HANDLE = r"(?:nullptr|hwnd[A-Z]\w*)"
CPP_TEXT = rf"(?:nullptr|{CPP_LITERAL})"
CPP_STATEMENT = re.compile(
    r"(?:HWND )?hwnd[A-Z]\w* = (?:nullptr"
    rf"|FindWindowW\({CPP_LITERAL}, {CPP_TEXT}\)"
    rf"|FindWindowExW\({CPP_HANDLE}, {CPP_HANDLE}, {CPP_LITERAL}, {CPP_TEXT}\)"
    rf"|GetDlgItem\(hwnd[A-Z]\w*, -?\d+\)"
    rf"|findWindowLike\({CPP_HANDLE}, {CPP_HANDLE}(?:, {CPP_TEXT}){{4}}\));"
)
# The pattern helper, whole, as the first lines of the code that needs it.
CPP_HELPER = (
    "// Needs <cwchar> and <string>. The next window after `after` under `parent` "
    "(nullptr: the top-level windows) that FindWindowExW finds, whose class begins "
    "with classStart and whose title ends with titleEnd (nullptr: any).",
    "auto findWindowLike = [](HWND parent, HWND after, const wchar_t* className, "
    "const wchar_t* title,",
    "                         const wchar_t* classStart, const wchar_t* titleEnd) -> HWND {",
    "    while ((after = FindWindowExW(parent, after, className, title)) != nullptr) {",
    "        wchar_t found[257] = {};",
    "        GetClassNameW(after, found, 257);",
    "        if (classStart && std::wcsncmp(found, classStart, std::wcslen(classStart)) "
    "!= 0) continue;",
    "        if (!titleEnd) return after;",
    "        std::wstring text(GetWindowTextLengthW(after) + 1, L'\\0');",
    "        text.resize(GetWindowTextW(after, &text[0], static_cast<int>(text.size())));",
    "        const std::size_t length = std::wcslen(titleEnd);",
    "        if (text.size() >= length && std::wcscmp(text.c_str() + text.size() - length, "
    "titleEnd) == 0) return after;",
    "    }",
    "    return nullptr;",
    "};",
    "",
)


def cpp_form_faults(code):
    """How finder code falls short of one C++ statement a line, CR LF between:
    the pattern helper where a statement calls it, above them, and the comments
    of a note before them."""
    faults = []
    if re.search(r"\r(?!\n)|(?<!\r)\n", code):
        faults.append("a line break other than CR LF")
    lines = code.split("\r\n")
    helper = "findWindowLike(" in code
    if helper and tuple(lines[:len(CPP_HELPER)]) != CPP_HELPER:
        faults.append("the code calls findWindowLike without the helper above it")
    lines = lines[len(CPP_HELPER):] if helper else lines
    while lines and lines[0].startswith("// "):
        lines = lines[1:]
    faults += [
        f"not a finder statement: {line!r}"
        for line in lines
        if not CPP_STATEMENT.fullmatch(line)
    ]
    return faults


def searched_classes(code):
    """The class names that the code's searches pass, in order."""
    return re.findall(r'FindWindow(?:Ex)?W?\([^"\r\n]*?L?"([^"]*)"', code)


ACTION_PROGRAM = """#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

inline void Print(const std::wstring& text, char end = '\\n') {{
  for (wchar_t c : text) std::printf("%04x", static_cast<unsigned>(c));
  std::printf("%c", end);
}}
inline void Print(const std::vector<std::wstring>& items) {{
  for (const std::wstring& item : items) Print(item);
}}
inline void Print(const std::vector<std::vector<std::wstring>>& rows) {{
  for (const auto& row : rows) {{
    for (std::size_t i = 0; i < row.size(); ++i) Print(row[i], i + 1 < row.size() ? ',' : '\\n');
  }}
}}

int main() {{
{code}
{show}
  return 0;
}}
"""


def printed_rows(output):
    """The rows a program printed, each a list of texts."""
    return [[bytes.fromhex(cell).decode("utf-16-be") for cell in line.split(",")]
            for line in output.splitlines()]
