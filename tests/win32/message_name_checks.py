"""Writes the C++ table that checks inspector/message_names.txt against the
Windows headers: each name with its value as the headers give it, as the
file lists it (the list's offset or step undone), and whether the headers
have the name at all.

Usage: message_name_checks.py MESSAGE_NAMES OUTPUT
"""

import sys

# How each list's values stand to the headers' (NAME for the name's macro):
# WM_COMMAND codes are the 16 bits of HIWORD(wParam).
HEADER_VALUES = {
    "NameList::kButtonCodes": "(NAME) & 0xFFFF",
    "NameList::kEditCodes": "(NAME) & 0xFFFF",
    "NameList::kComboBoxCodes": "(NAME) & 0xFFFF",
    "NameList::kListBoxCodes": "(NAME) & 0xFFFF",
    "NameList::kListViewMessages": "(NAME) - LVM_FIRST",
    "NameList::kTreeViewMessages": "(NAME) - TV_FIRST",
    "NameList::kCommonNotifyCodes": "-static_cast<int>(NAME)",
    "NameList::kListViewNotifyCodes": "-static_cast<int>(NAME)",
    "NameList::kTreeViewNotifyCodes": "-static_cast<int>(NAME)",
    "NameList::kSysCommands": "((NAME) - SC_SIZE) / 0x10",
}


def main():
    source, output = sys.argv[1:]
    rows, expression, prefix = [], "NAME", ""
    for line in open(source, encoding="utf-8").read().split("\n"):
        if line.startswith("@@ "):
            expression = HEADER_VALUES.get(line[3:].strip(), "NAME")
        elif line.startswith("@") or not line:
            continue
        elif line.endswith("_"):
            prefix = line
        else:
            name, value = line.split("=")
            macro = prefix + name
            header = expression.replace("NAME", macro)
            rows += [f"#ifdef {macro}",
                     f'    {{"{macro}", static_cast<long long>({header}), 0x{value}, true}},',
                     "#else", f'    {{"{macro}", 0, 0x{value}, false}},', "#endif"]
    with open(output, "w", encoding="utf-8") as file:
        file.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
