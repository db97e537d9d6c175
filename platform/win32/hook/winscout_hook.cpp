// winscout-hook.dll: loaded into a target thread by WinScout's hooks. It
// copies each message into the thread's shared log as a raw record; on the
// registered menu message it copies the window's menu. A log never waits for
// WinScout, so a slow or killed WinScout cannot slow the target down: a full
// log counts the record as dropped. A recording writes only what the user did
// and, at each step, waits up to a second for WinScout to read the windows
// while they exist; a killed WinScout makes the wait fail at once.
// The keys, characters and text of a password box are never copied.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "platform/win32/hook/hook_protocol.h"

namespace {

using winscout::MessageKind;
using winscout::MessageRecord;
using winscout::hook::SharedLog;

// A hooked thread's log. The hook keeps its handle to the shared memory as
// long as it stays in the program (under Wine, until the program ends): the
// handle keeps the memory's name, so that each later session, of this
// WinScout or of a new one, opens the same memory that this view writes to.
struct ThreadLog {
  SharedLog* view;
  HANDLE mapping;
  ThreadLog* next;
  bool waking;  // a step is being read: steps meanwhile wait for the next
};

DWORD tls_slot = TLS_OUT_OF_INDEXES;  // each hooked thread's ThreadLog
ThreadLog* thread_logs;               // all of them, let go when the DLL is
UINT read_menu_message;
UINT step_message;

// This thread's log, opened on its first message.
ThreadLog* Log() {
  if (auto* log = static_cast<ThreadLog*>(TlsGetValue(tls_slot))) return log;
  wchar_t name[64];
  winscout::hook::MappingName(GetCurrentThreadId(), name);
  const HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE | FILE_MAP_READ, FALSE, name);
  if (!mapping) return nullptr;
  auto* view = static_cast<SharedLog*>(
      MapViewOfFile(mapping, FILE_MAP_WRITE | FILE_MAP_READ, 0, 0, sizeof(SharedLog)));
  auto* log = static_cast<ThreadLog*>(HeapAlloc(GetProcessHeap(), 0, sizeof(ThreadLog)));
  if (!view || !log) {
    if (view) UnmapViewOfFile(view);
    if (log) HeapFree(GetProcessHeap(), 0, log);
    CloseHandle(mapping);
    return nullptr;
  }
  *log = {view, mapping, __atomic_load_n(&thread_logs, __ATOMIC_ACQUIRE), false};
  while (!__atomic_compare_exchange_n(&thread_logs, &log->next, log, true,
                                      __ATOMIC_RELEASE, __ATOMIC_ACQUIRE)) {
  }
  TlsSetValue(tls_slot, log);
  return log;
}

// When the program unloads the DLL (Windows does after the hooks are gone).
void LetGoOfLogs() {
  for (ThreadLog* log = thread_logs; log;) {
    ThreadLog* next = log->next;
    UnmapViewOfFile(log->view);
    CloseHandle(log->mapping);
    HeapFree(GetProcessHeap(), 0, log);
    log = next;
  }
  TlsFree(tls_slot);
}

void CopyText(const wchar_t* text, MessageRecord& record) {
  int i = 0;
  for (; i < MessageRecord::kTextCapacity - 1 && text[i]; ++i) record.text[i] = text[i];
  record.text[i] = 0;
  record.flags |= MessageRecord::kHasText;
}

// Whether the window's class name starts with `start`, case ignored.
bool ClassStarts(HWND window, const wchar_t* start) {
  wchar_t name[32];
  const int length = GetClassNameW(window, name, 32);
  const int wanted = lstrlenW(start);
  return length >= wanted &&
         CompareStringOrdinal(name, wanted, start, wanted, TRUE) == CSTR_EQUAL;
}

// ES_PASSWORD means other things to other classes.
bool IsPasswordBox(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & ES_PASSWORD) &&
         (ClassStarts(window, L"Edit") || ClassStarts(window, L"RichEdit"));
}

// The keyboard's messages, whose parameters name the key.
bool IsKeyboard(UINT message) {
  return (message >= WM_KEYDOWN && message <= WM_UNICHAR) || message == WM_IME_CHAR;
}

// Something the user did that a recording keeps as a step: a control's
// notification of a click, a choice or the leaving of an edit; a menu
// command or an accelerator; a system command; a row or item selected.
bool IsStep(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND) return true;
  if (message == WM_COMMAND) {
    const WORD code = HIWORD(wparam);
    return lparam == 0 || code == BN_CLICKED || code == CBN_SELCHANGE ||
           code == EN_KILLFOCUS;
  }
  if (message != WM_NOTIFY || !lparam) return false;
  const NMHDR& header = *reinterpret_cast<const NMHDR*>(lparam);
  if (header.code == LVN_ITEMCHANGED) {
    const auto& change = *reinterpret_cast<const NMLISTVIEW*>(lparam);
    return (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
           !(change.uOldState & LVIS_SELECTED);
  }
  // TVC_UNKNOWN: the program chose the item, not the user.
  return (header.code == TVN_SELCHANGEDW || header.code == TVN_SELCHANGEDA) &&
         reinterpret_cast<const NMTREEVIEWW*>(lparam)->action != TVC_UNKNOWN;
}

// What marks an edit as typed into, for the step that sets its text, and
// the edit's EN_CHANGE, which carries the text it holds after the change.
bool IsTyping(UINT message, WPARAM wparam, MessageKind kind) {
  if (kind == MessageKind::kPosted)
    return message == WM_CHAR || (message == WM_KEYDOWN && wparam == VK_DELETE);
  return message == WM_PASTE || message == WM_CUT || message == WM_CLEAR ||
         message == WM_UNDO ||
         (kind == MessageKind::kSent && message == WM_COMMAND &&
          HIWORD(wparam) == EN_CHANGE);
}

// An edit's text as it changes, so that it is known if the program ends
// before WinScout reads it; a long one is left for WinScout to read.
void CopyChangedText(HWND edit, MessageRecord& record) {
  if (!edit || IsPasswordBox(edit) ||
      SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0) >=
          LRESULT{MessageRecord::kTextCapacity}) {
    return;
  }
  wchar_t text[MessageRecord::kTextCapacity] = {};
  SendMessageW(edit, WM_GETTEXT, MessageRecord::kTextCapacity,
               reinterpret_cast<LPARAM>(text));
  CopyText(text, record);
}

// The item chosen, read here in the program, where its memory is: a combo
// box's or list box's selection, a list view's row, a tree view's item.
void CopyChosenItem(UINT message, WPARAM wparam, LPARAM lparam, MessageRecord& record) {
  wchar_t text[1024];
  text[0] = 0;
  if (message == WM_COMMAND && HIWORD(wparam) == CBN_SELCHANGE && lparam) {
    const auto control = reinterpret_cast<HWND>(lparam);
    const bool combo = ClassStarts(control, L"ComboBox");
    if (!combo && !ClassStarts(control, L"ListBox")) return;
    const LRESULT index =
        SendMessageW(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    if (index < 0 || SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index,
                                  0) >= LRESULT{1024}) {
      return;
    }
    SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, index,
                 reinterpret_cast<LPARAM>(text));
  } else if (message == WM_NOTIFY) {
    const NMHDR& header = *reinterpret_cast<const NMHDR*>(lparam);
    if (header.code == LVN_ITEMCHANGED) {
      LVITEMW item{.iSubItem = 0, .pszText = text, .cchTextMax = 1024};
      SendMessageW(header.hwndFrom, LVM_GETITEMTEXTW,
                   reinterpret_cast<const NMLISTVIEW*>(lparam)->iItem,
                   reinterpret_cast<LPARAM>(&item));
    } else {
      TVITEMW item{.mask = TVIF_TEXT | TVIF_HANDLE,
                   .hItem = reinterpret_cast<const NMTREEVIEWW*>(lparam)->itemNew.hItem,
                   .pszText = text,
                   .cchTextMax = 1024};
      SendMessageW(header.hwndFrom, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
  } else {
    return;
  }
  text[1023] = 0;
  CopyText(text, record);
}

// `own_thread`: sent by this thread, so that lParam points into this process.
// A message from another process may show the sender's pointer (Wine), so it
// is never read through; the return hook reads the window's text instead.
void Record(MessageKind kind, HWND window, UINT message, WPARAM wparam, LPARAM lparam,
            LRESULT result, bool own_thread) {
  ThreadLog* thread_log = Log();
  SharedLog* log = thread_log ? thread_log->view : nullptr;
  if (!log || log->magic != winscout::hook::kMagic || !log->active) return;
  const auto recorder = reinterpret_cast<HWND>(log->recorder_window);
  const bool step = recorder && own_thread && kind != MessageKind::kReturned &&
                    IsStep(message, wparam, lparam);
  if (recorder && !step && !IsTyping(message, wparam, kind)) return;
  const std::uint64_t written = log->ring.written;
  if (written - __atomic_load_n(&log->ring.taken, __ATOMIC_ACQUIRE) >=
      winscout::hook::kCapacity) {
    __atomic_add_fetch(&log->ring.dropped, 1, __ATOMIC_RELAXED);
    return;
  }
  MessageRecord& record = log->records[written % winscout::hook::kCapacity];
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  record.ticks = now.QuadPart;
  record.window = reinterpret_cast<std::intptr_t>(window);
  record.wparam = wparam;
  record.lparam = lparam;
  record.result = result;
  record.message = message;
  record.kind = kind;
  record.flags = own_thread ? 0 : MessageRecord::kFromOtherThread;
  record.notify_code = 0;
  record.notify_from = 0;
  record.notify_id = 0;
  record.text[0] = 0;
  const bool secret =
      (message == WM_SETTEXT || IsKeyboard(message)) && IsPasswordBox(window);
  if (secret) {
    record.wparam = 0;
    record.lparam = 0;
    record.flags |= MessageRecord::kSecret;
  } else if (message == WM_SETTEXT && lparam && own_thread &&
             kind != MessageKind::kPosted) {
    CopyText(reinterpret_cast<const wchar_t*>(lparam), record);
  } else if (message == WM_SETTEXT && kind == MessageKind::kReturned) {
    wchar_t text[MessageRecord::kTextCapacity];
    // Asks no message of the window, unlike GetWindowText.
    InternalGetWindowText(window, text, MessageRecord::kTextCapacity);
    CopyText(text, record);
  } else if (message == WM_NOTIFY && lparam && own_thread &&
             kind != MessageKind::kPosted) {
    const NMHDR& header = *reinterpret_cast<const NMHDR*>(lparam);
    record.notify_from = reinterpret_cast<std::intptr_t>(header.hwndFrom);
    record.notify_id = header.idFrom;
    record.notify_code = static_cast<std::int32_t>(header.code);
    record.flags |= MessageRecord::kHasNotify;
  }
  if (recorder && own_thread && message == WM_COMMAND && HIWORD(wparam) == EN_CHANGE)
    CopyChangedText(reinterpret_cast<HWND>(lparam), record);
  if (step) {
    record.flags |= MessageRecord::kStep;
    CopyChosenItem(message, wparam, lparam, record);
    // Read here, in the button's own thread, rather than asked by WinScout
    // at each of a storm of clicks.
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED && lparam &&
        SendMessageW(reinterpret_cast<HWND>(lparam), BM_GETCHECK, 0, 0) == BST_CHECKED)
      record.flags |= MessageRecord::kChecked;
  }
  __atomic_store_n(&log->ring.written, written + 1, __ATOMIC_RELEASE);
  if (step && !thread_log->waking) {
    thread_log->waking = true;
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(recorder, step_message, 0, 0, SMTO_ABORTIFHUNG,
                        winscout::hook::kStepTimeoutMs, &answer);
    thread_log->waking = false;
  }
}

void ReadMenu(HWND window) {
  ThreadLog* thread_log = Log();
  SharedLog* log = thread_log ? thread_log->view : nullptr;
  if (!log || log->magic != winscout::hook::kMagic) return;
  winscout::hook::MenuCopy copy{.entries = log->menu, .texts = log->menu_texts};
  if (const HMENU menu = GetMenu(window)) winscout::hook::WalkMenu(menu, 0, copy);
  log->menu_left_out = copy.left_out;
  __atomic_store_n(&log->menu_count, copy.count, __ATOMIC_RELEASE);
}

}  // namespace

extern "C" {

__declspec(dllexport) LRESULT CALLBACK
    WinScoutGetMessageHook(int code, WPARAM wparam, LPARAM lparam) {
  // A message only peeked at stays in the queue and comes again.
  if (code == HC_ACTION && wparam == PM_REMOVE) {
    const MSG& message = *reinterpret_cast<const MSG*>(lparam);
    Record(MessageKind::kPosted, message.hwnd, message.message, message.wParam,
           message.lParam, 0, true);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

__declspec(dllexport) LRESULT CALLBACK
    WinScoutCallWndProcHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const CWPSTRUCT& message = *reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (message.message == read_menu_message) {
      ReadMenu(message.hwnd);
    } else {
      Record(MessageKind::kSent, message.hwnd, message.message, message.wParam,
             message.lParam, 0, wparam != 0);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

__declspec(dllexport) LRESULT CALLBACK
    WinScoutCallWndRetHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const CWPRETSTRUCT& message = *reinterpret_cast<const CWPRETSTRUCT*>(lparam);
    if (message.message != read_menu_message) {
      Record(MessageKind::kReturned, message.hwnd, message.message, message.wParam,
             message.lParam, message.lResult, wparam != 0);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    tls_slot = TlsAlloc();
    read_menu_message = RegisterWindowMessageW(winscout::hook::kReadMenuMessage);
    step_message = RegisterWindowMessageW(winscout::hook::kStepMessage);
    return tls_slot != TLS_OUT_OF_INDEXES;
  }
  // Not at the program's end (`reserved` set), when the memory goes anyway.
  if (reason == DLL_PROCESS_DETACH && !reserved) LetGoOfLogs();
  return TRUE;
}

}  // extern "C"
