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
variable set on its last line must hold after the run (0: none).

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
import sys
import types

ASCII_LOWER = str.maketrans("ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz")


def class_text(hex_bytes):
    """The class name as the code's literal should spell it."""
    text = bytes.fromhex(hex_bytes).decode("utf-8", "surrogateescape")
    # surrogateescape keeps each stray byte as U+DC80..U+DCFF; it stands for
    # the character of its own value.
    return "".join(
        chr(ord(c) - 0xDC00) if 0xDC80 <= ord(c) <= 0xDCFF else c for c in text
    )


def fold(text):
    """Class names compare without regard to ASCII case, as the model does."""
    return text.translate(ASCII_LOWER)


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


class UnicodeBuffer:
    """What ctypes.create_unicode_buffer makes: room for `size` characters."""

    def __init__(self, size):
        if type(size) is not int or size < 1:
            raise TypeError(f"a buffer of {size!r} characters")
        self.size = size
        self._value = ""

    def __len__(self):
        return self.size

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
            if kind is c_int and type(arg) is not int:
                raise TypeError(f"argument {i + 1} is {arg!r}, not an int")
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
    ctypes = types.ModuleType("ctypes")
    ctypes.wintypes = wintypes
    ctypes.c_int = c_int
    ctypes.create_unicode_buffer = UnicodeBuffer

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
    if not isinstance(last, ast.Assign) or not isinstance(last.targets[0], ast.Name):
        raise SyntaxError("the last line sets no variable")
    ctypes, wintypes = fake_ctypes(desktop)
    saved = {name: sys.modules.get(name) for name in ("ctypes", "ctypes.wintypes")}
    sys.modules["ctypes"] = ctypes
    sys.modules["ctypes.wintypes"] = wintypes
    try:
        scope = {"__name__": "__main__", "__builtins__": builtins}
        exec(code, scope)
    finally:
        for name, module in saved.items():
            if module is None:
                sys.modules.pop(name, None)
            else:
                sys.modules[name] = module
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
