"""Runs Python finder code against a fake user32 that answers from a desktop.

Usage: python_replay.py MANIFEST

The manifest (JSON) holds desktops and snippets. A desktop lists, for each
parent window (0: the top-level windows) and each class, the windows that
FindWindowEx finds one after the other, and the desktop window:

  {"desktop": D, "searches": [{"parent": P, "class": HEX, "found": [H1, ...]}, ...],
   "windows": [{"handle": H, "parent": P, "class": HEX, "title": HEX, "id": N}, ...]}

where HEX is a text's bytes (UTF-8, or stray bytes that stand for
themselves), and the windows come in the order the searches meet them; the
searches for a title, for a control ID and for any class (the pattern
helper's) are answered from them, and so are the questions for a window's
class name and title. A snippet names its file, its desktop and the window that the
variable set on its last line must hold after the run (0: none); or, for code
that acts on its window, the effects it must have instead:

  "effects": {"events": [["click" | "close", H] | ["text" | "choose" | "command", H, HEX], ...],
              "printed": [HEX | [HEX, ...], ...]}

where the windows answer the messages from their title, "items" (a list of
HEX) and "checked"; a set text, a posted click or close and a choice (found
by CB_SELECTSTRING or LB_SELECTSTRING, made when the parent is told of it by
WM_COMMAND) are events, and print's argument is printed. A snippet's "sends"
is how many sends the windows answer before they go away (-1: all).

Each snippet is compiled from its bytes as a script file would be, run with
fake ctypes modules in place of the real ones, and checked: the searches it
makes must be answerable, its names must hide no keyword, soft keyword or
built-in name, and it must find its window. Prints one line per failing
snippet and a count; exits 1 if any failed.
"""

import ast
import builtins
import json
import keyword
import os
import re
import sys
import types


def upcase_table():
    """The system's upcase table, as the model keeps it (and tests/win32 checks
    it against the system's): runs of units a step apart moved alike."""
    source = os.path.join(os.path.dirname(__file__), "../../platform/case_blind.cpp")
    table = {}
    for run in re.findall(r"\{(0x\w+), (\d+), (\d+), (0x\w+)\}", open(source).read()):
        first, count, step, delta = (int(n, 0) for n in run)
        for unit in range(first, first + count * step, step):
            table[unit] = (unit + delta) & 0xFFFF
    return table


UPCASE = upcase_table()


def class_text(hex_bytes):
    """The class name as the code's literal should spell it."""
    text = bytes.fromhex(hex_bytes).decode("utf-8", "surrogateescape")
    # surrogateescape keeps each stray byte as U+DC80..U+DCFF; it stands for
    # the character of its own value.
    return "".join(
        chr(ord(c) - 0xDC00) if 0xDC80 <= ord(c) <= 0xDCFF else c for c in text
    )


def fold(text):
    """Titles and class names compare through the system's upcase table."""
    return text.translate(UPCASE)


class Unanswerable(Exception):
    pass


class Desktop:
    def __init__(self, dump):
        self.desktop = dump["desktop"]
        self.windows = [
            dict(w, class_name=class_text(w["class"]), text=class_text(w["title"]),
                 cls=fold(class_text(w["class"])), title=fold(class_text(w["title"])))
            for w in dump.get("windows", ())
        ]
        self.found = {}
        self.children = {}
        self.memory, self.events, self.printed, self.pending = {}, [], [], {}
        for search in dump["searches"]:
            parent = search["parent"]
            self.found[(parent, fold(class_text(search["class"])))] = search["found"]
            self.children.setdefault(parent, set()).update(search["found"])

    def window(self, handle):
        for w in self.windows:
            if w["handle"] == handle:
                return w
        raise Unanswerable(f"window {handle} is not on the desktop")

    def find_among_all(self, parent, after, class_name, title):
        """A search that runs through the siblings in order: by title, or
        for any class."""
        siblings = [w for w in self.windows if w["parent"] == parent]
        if class_name is None and not self.children.get(parent, set()) <= {
                w["handle"] for w in siblings}:
            raise Unanswerable(f"the order of every window under {parent} is unknown")
        handles = [w["handle"] for w in siblings]
        if after and after not in handles:
            return 0
        for w in siblings[handles.index(after) + 1 if after else 0:]:
            if ((class_name is None or w["cls"] == fold(class_name))
                    and (title is None or w["title"] == fold(title))):
                return w["handle"]
        return 0

    def text_length(self, handle):
        """In UTF-16 units, as Windows counts."""
        return len(self.window(handle)["text"].encode("utf-16-le")) // 2

    def read_text(self, handle, buffer, capacity, key):
        text = self.window(handle)[key][:max(capacity - 1, 0)]
        buffer.value = text
        return len(text)

    def send(self, handle, message, w, l):
        """The window's answer to a message sent with a time limit."""
        window = self.window(handle)
        text, items = window["text"], [class_text(i) for i in window.get("items", ())]
        units = lambda t: len(t.encode("utf-16-le")) // 2
        if message in (WM_GETTEXTLENGTH, WM_GETTEXT, WM_SETTEXT, BM_GETCHECK):
            if message == WM_GETTEXT:
                return self.write(l, w, text)
            if message == WM_SETTEXT:
                self.events.append(["text", handle, self.memory[l].value])
                return 1
            return units(text) if message == WM_GETTEXTLENGTH else int(window.get("checked", 0))
        message = LIST_BOX_MESSAGES.get(message, message)
        if message == CB_GETCOUNT:
            return len(items)
        if message in (CB_GETLBTEXTLEN, CB_GETLBTEXT) and not 0 <= w < len(items):
            return -1
        if message == CB_GETLBTEXTLEN:
            return units(items[w])
        if message == CB_GETLBTEXT:
            return self.write(l, units(items[w]) + 1, items[w])
        if message == CB_SELECTSTRING and w in (-1, 2**64 - 1):
            wanted = self.memory[l].value
            found = [i for i, item in enumerate(items) if fold(item).startswith(fold(wanted))]
            self.pending[handle] = wanted if found else None
            return found[0] if found else -1
        raise Unanswerable(f"message {message:#x} to {handle}")

    def write(self, address, capacity, text):
        buffer = self.memory[address]
        if capacity > len(buffer):
            raise ValueError(f"{capacity} characters written into a buffer of {len(buffer)}")
        cut = text.encode("utf-16-le")[:2 * (capacity - 1)].decode("utf-16-le", "ignore")
        buffer.value = cut
        return len(cut.encode("utf-16-le")) // 2

    def command(self, parent, message, w, control):
        """WM_COMMAND with the selection change, after a selection."""
        window = self.window(control)
        if (message != WM_COMMAND or parent != window["parent"]
                or w & 0xFFFF != window["id"] & 0xFFFF or w >> 16 != SELCHANGE
                or not self.pending.get(control)):
            raise AssertionError(f"WM_COMMAND {w:#x} to {parent} is no choice on {control}")
        self.events.append(["choose", control, self.pending.pop(control)])
        return 0

    def dialog_item(self, parent, control_id):
        for w in self.windows:
            if w["parent"] == parent and w["id"] == control_id:
                return w["handle"]
        return 0

    def find(self, parent, after, class_name, title=None):
        if title is not None or class_name is None:
            return self.find_among_all(parent, after, class_name, title)
        found = self.found.get((parent, fold(class_name)), [])
        if after == 0:
            return found[0] if found else 0
        if after in found:
            i = found.index(after)
            return found[i + 1] if i + 1 < len(found) else 0
        if after in self.children.get(parent, ()):
            # A child of another class: its place among the others is unknown.
            raise Unanswerable(f"search after {after}, a child of another class")
        return 0


class HWND:
    pass


class LPCWSTR:
    pass


class LPWSTR:
    pass


class c_int:
    pass


UINT, WPARAM, LPARAM, BOOL = (type(name, (), {}) for name in ("UINT", "WPARAM", "LPARAM", "BOOL"))


class c_ssize_t:
    def __init__(self):
        self.value = 0


class Ref:
    """What ctypes.byref gives."""

    def __init__(self, target):
        self.target = target


def pointer_type(kind, cache={}):
    return cache.setdefault(kind, type(f"LP_{kind.__name__}", (), {}))


WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH, WM_CLOSE, WM_COMMAND = 0xC, 0xD, 0xE, 0x10, 0x111
BM_GETCHECK, BM_CLICK, SMTO_ABORTIFHUNG, SELCHANGE = 0xF0, 0xF5, 2, 1
CB_GETCOUNT, CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_SELECTSTRING = 0x146, 0x148, 0x149, 0x14D
# The list box's messages, as the combo box's that answer alike.
LIST_BOX_MESSAGES = {0x18B: CB_GETCOUNT, 0x189: CB_GETLBTEXT, 0x18A: CB_GETLBTEXTLEN,
                     0x18C: CB_SELECTSTRING}


class UnicodeBuffer:
    """What ctypes.create_unicode_buffer makes: room for `size` characters."""

    def __init__(self, size):
        text = size if type(size) is str else ""
        size = len(text.encode("utf-16-le", "surrogatepass")) // 2 + 1 if text else size
        if type(size) is not int or size < 1:
            raise TypeError(f"a buffer of {size!r} characters")
        self.size = size
        self._value = text

    def __len__(self):
        return self.size

    def __getitem__(self, key):
        """A slice of the buffer's UTF-16 units, as Windows' wchar_t has them."""
        data = self._value.encode("utf-16-le", "surrogatepass").ljust(2 * self.size, b"\0")
        units = [data[i:i + 2] for i in range(0, len(data), 2)][key]
        return b"".join(units).decode("utf-16-le", "surrogatepass")

    @property
    def value(self):
        return self._value

    @value.setter
    def value(self, text):
        if len(text) >= self.size:
            raise ValueError(f"{len(text)} characters in a buffer of {self.size}")
        self._value = text


def check_handle(value, what):
    if value is not None and type(value) is not int:
        raise TypeError(f"{what} is {value!r}, not a window handle or None")


class Function:
    """A user32 function as ctypes shows it: argtypes and restype to set."""

    def __init__(self, name, argtypes, call, restype=HWND):
        self.__name__ = name
        self.argtypes = None
        self.restype = None
        self._wanted_argtypes = argtypes
        self._wanted_restype = restype
        self._call = call

    def __call__(self, *args):
        # Without the types ctypes would pass and return C ints: a 64-bit
        # handle would be cut.
        if tuple(self.argtypes or ()) != self._wanted_argtypes:
            raise TypeError(f"{self.__name__}.argtypes is {self.argtypes!r}")
        if self.restype is not self._wanted_restype:
            raise TypeError(f"{self.__name__}.restype is {self.restype!r}")
        if len(args) != len(self._wanted_argtypes):
            raise TypeError(f"{self.__name__} takes {len(self._wanted_argtypes)} arguments")
        for i, (arg, kind) in enumerate(zip(args, self._wanted_argtypes)):
            if kind is HWND:
                check_handle(arg, f"argument {i + 1}")
            if kind in (c_int, UINT, WPARAM, LPARAM) and type(arg) is not int:
                raise TypeError(f"argument {i + 1} is {arg!r}, not an int")
            if kind is pointer_type(c_ssize_t) and arg is not None and not (
                    type(arg) is Ref and type(arg.target) is c_ssize_t):
                raise TypeError(f"argument {i + 1} is {arg!r}, not a reference to a c_ssize_t")
            if kind is LPCWSTR and arg is not None and type(arg) is not str:
                raise TypeError(f"argument {i + 1} is {arg!r}, not a str or None")
            if kind is LPWSTR and type(arg) is not UnicodeBuffer:
                raise TypeError(f"argument {i + 1} is {arg!r}, not a unicode buffer")
        # Only the pattern helper searches for any class.
        if (LPCWSTR in self._wanted_argtypes and type(args[-2]) is not str
                and sys._getframe(1).f_code.co_name != "find_window_like"):
            raise TypeError(f"class name {args[-2]!r} is no str")
        result = self._call(*args)
        return (result or None) if self._wanted_restype is HWND else result


def fake_ctypes(desktop):
    wintypes = types.ModuleType("ctypes.wintypes")
    wintypes.HWND = HWND
    wintypes.LPCWSTR = LPCWSTR
    wintypes.LPWSTR = LPWSTR
    wintypes.UINT, wintypes.WPARAM, wintypes.LPARAM, wintypes.BOOL = UINT, WPARAM, LPARAM, BOOL
    ctypes = types.ModuleType("ctypes")
    ctypes.wintypes = wintypes
    ctypes.c_int = c_int
    ctypes.c_ssize_t = c_ssize_t
    ctypes.POINTER = pointer_type
    ctypes.byref = Ref
    ctypes.create_unicode_buffer = UnicodeBuffer
    ctypes.windll = types.SimpleNamespace(kernel32=types.SimpleNamespace(Sleep=lambda ms: None))

    def addressof(buffer):
        desktop.memory[id(buffer)] = buffer
        return id(buffer)

    ctypes.addressof = addressof

    def win_dll(name, use_last_error=False):
        if name.lower() not in ("user32", "user32.dll"):
            raise OSError(f"no fake for {name}")
        user32 = types.SimpleNamespace()
        user32.FindWindowW = Function(
            "FindWindowW", (LPCWSTR, LPCWSTR), lambda c, t: desktop.find(0, 0, c, t)
        )
        user32.FindWindowExW = Function(
            "FindWindowExW",
            (HWND, HWND, LPCWSTR, LPCWSTR),
            lambda p, a, c, t: desktop.find(p or 0, a or 0, c, t),
        )
        user32.GetDlgItem = Function(
            "GetDlgItem", (HWND, c_int), lambda p, i: desktop.dialog_item(p or 0, i)
        )
        user32.GetDesktopWindow = Function("GetDesktopWindow", (), lambda: desktop.desktop)
        for name, key in (("GetClassNameW", "class_name"), ("GetWindowTextW", "text")):
            setattr(user32, name, Function(
                name, (HWND, LPWSTR, c_int),
                lambda h, b, n, key=key: desktop.read_text(h, b, n, key), c_int))
        user32.GetWindowTextLengthW = Function(
            "GetWindowTextLengthW", (HWND,), desktop.text_length, c_int
        )

        def send_timeout(h, message, w, l, flags, timeout, result):
            if not flags & SMTO_ABORTIFHUNG or timeout <= 0:
                raise AssertionError("a send that a hung window would hold")
            if desktop.sends == 0:
                return 0
            desktop.sends -= 1
            answer = desktop.send(h, message, w, l)
            if result is not None:
                result.target.value = answer
            return 1

        def post(h, message, w, l):
            if message == WM_COMMAND:  # a menu command, by its wParam in decimal
                desktop.events.append(["command", h, str(w)])
            else:
                desktop.events.append([{BM_CLICK: "click", WM_CLOSE: "close"}[message], h])
            return 1

        message = (HWND, UINT, WPARAM, LPARAM)
        user32.SendMessageTimeoutW = Function(
            "SendMessageTimeoutW", (*message, UINT, UINT, pointer_type(c_ssize_t)),
            send_timeout, LPARAM)
        user32.SendMessageW = Function("SendMessageW", message, desktop.command, LPARAM)
        user32.PostMessageW = Function("PostMessageW", message, post, BOOL)
        user32.GetParent = Function("GetParent", (HWND,), lambda h: desktop.window(h)["parent"])
        user32.GetDlgCtrlID = Function(
            "GetDlgCtrlID", (HWND,), lambda h: desktop.window(h)["id"], c_int)
        return user32

    ctypes.WinDLL = win_dll
    return ctypes, wintypes


# The names a snippet may not take: they would hide a keyword, a soft keyword
# or a built-in, or the modules the snippet works with.
TAKEN = (
    set(keyword.kwlist)
    | set(keyword.softkwlist)
    | set(dir(builtins))
    | {"ctypes", "wintypes", "user32"}
)


def run(snippet, desktop, directory):
    path = os.path.join(directory, snippet["file"])
    with open(path, "rb") as f:
        source = f.read()
    code = compile(source, path, "exec")
    body = ast.parse(source).body
    for node in body:
        for target in node.targets if isinstance(node, ast.Assign) else ():
            if isinstance(target, ast.Name) and target.id != "user32" and target.id in TAKEN:
                raise NameError(f"{target.id} hides a name of Python or of the snippet")
    last = body[-1]
    effects = snippet.get("effects")
    if not effects and (
            not isinstance(last, ast.Assign) or not isinstance(last.targets[0], ast.Name)):
        raise SyntaxError("the last line sets no variable")
    ctypes, wintypes = fake_ctypes(desktop)
    saved = {name: sys.modules.get(name) for name in ("ctypes", "ctypes.wintypes")}
    sys.modules["ctypes"] = ctypes
    sys.modules["ctypes.wintypes"] = wintypes
    try:
        scope = {"__name__": "__main__", "__builtins__": builtins,
                 "print": desktop.printed.append}
        desktop.sends = snippet.get("sends", -1)
        desktop.events.clear()
        desktop.printed.clear()
        exec(code, scope)
    finally:
        for name, module in saved.items():
            if module is None:
                sys.modules.pop(name, None)
            else:
                sys.modules[name] = module
    if effects:
        text = lambda v: [text(i) for i in v] if type(v) is list else class_text(v)
        wanted = {"events": [e[:2] + [class_text(h) for h in e[2:]] for e in effects["events"]],
                  "printed": [text(p) for p in effects["printed"]]}
        done = {"events": desktop.events, "printed": desktop.printed}
        if done != wanted:
            raise AssertionError(f"did {done!r}, wanted {wanted!r}")
        return
    found = scope[last.targets[0].id]
    wanted = snippet["expected"] or None
    if found != wanted:
        raise AssertionError(f"{last.targets[0].id} holds {found!r}, wanted {wanted!r}")


def main():
    manifest_path = sys.argv[1]
    with open(manifest_path, encoding="ascii") as f:
        manifest = json.load(f)
    directory = os.path.dirname(manifest_path)
    desktops = {name: Desktop(dump) for name, dump in manifest["desktops"].items()}
    failed = 0
    for snippet in manifest["snippets"]:
        try:
            run(snippet, desktops[snippet["desktop"]], directory)
        except Exception as error:  # every kind of fault is a finding
            failed += 1
            print(f"FAIL {snippet['name']} ({snippet['file']}): "
                  f"{type(error).__name__}: {error}")
    print(f"{len(manifest['snippets']) - failed} of {len(manifest['snippets'])} passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
