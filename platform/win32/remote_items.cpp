#include "platform/win32/remote_items.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/text_conversion.h"
#include "platform/win32/unique_handle.h"

namespace winscout::win32 {
namespace {

using ProcessHandle = UniqueHandle<HANDLE, &CloseHandle>;

// Where the text pointer and its capacity sit in LVITEMW and TVITEMW, and
// where a tree item's handle sits, for a 32-bit and a 64-bit process.
struct Layout {
  std::size_t item_handle;  // TVITEMW.hItem
  std::size_t text;         // pszText
  std::size_t capacity;     // cchTextMax
  std::size_t pointer_size;
};
constexpr Layout kListView32{0, 20, 24, 4};
constexpr Layout kListView64{0, 24, 32, 8};
constexpr Layout kTreeView32{4, 16, 20, 4};
constexpr Layout kTreeView64{8, 24, 32, 8};

// Large enough for either structure in either bitness; the text follows.
constexpr std::size_t kStructBytes = 128;
constexpr std::size_t kFirstTextCapacity = 512;
constexpr std::size_t kLastTextCapacity = kMostItemTextUnits + 1;

bool Is32BitProcess(HANDLE process) {
  if constexpr (sizeof(void*) == 4) return true;
  BOOL wow64 = FALSE;
  return IsWow64Process(process, &wow64) && wow64;
}

// A block of memory in another process, freed with it.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, std::size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE)) {}
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  explicit operator bool() const { return address_ != nullptr; }
  std::uintptr_t Address() const { return reinterpret_cast<std::uintptr_t>(address_); }
  bool Write(const void* data, std::size_t size) const {
    return WriteProcessMemory(process_, address_, data, size, nullptr) != 0;
  }
  bool Read(std::size_t offset, void* data, std::size_t size) const {
    return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size,
                             nullptr) != 0;
  }

 private:
  HANDLE process_;
  void* address_;
};

// Asks one control about its items through a structure in its own process.
class ItemReader {
 public:
  ItemReader(HWND control, UINT timeout_ms, const Layout& layout32,
             const Layout& layout64)
      : control_(control), timeout_(timeout_ms) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(control, &process_id);
    process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                   PROCESS_QUERY_LIMITED_INFORMATION,
                               FALSE, process_id));
    if (process_) layout_ = Is32BitProcess(process_.get()) ? layout32 : layout64;
  }

  bool Opened() const { return static_cast<bool>(process_); }

  // Sends `message` with the address of a copy of `data` in the control's
  // process.
  std::optional<LRESULT> SendWith(UINT message, WPARAM w, const void* data,
                                  std::size_t size) const {
    RemoteBlock block(process_.get(), size);
    if (!block || !block.Write(data, size)) return std::nullopt;
    return Send(message, w, static_cast<LPARAM>(block.Address()));
  }

  std::optional<LRESULT> Send(UINT message, WPARAM w, LPARAM l) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control_, message, w, l, SMTO_ABORTIFHUNG, timeout_,
                             &result)) {
      return std::nullopt;
    }
    return static_cast<LRESULT>(result);
  }

  // The text that `message` puts into the structure, which starts with the
  // given fields (mask, then LVITEMW's iItem and iSubItem); the buffer grows
  // until the text fits, or up to the limit, where the text is cut.
  std::optional<std::string> Text(UINT message, WPARAM w,
                                  const std::array<std::uint32_t, 3>& head,
                                  std::uint64_t item_handle = 0) const {
    for (std::size_t capacity = kFirstTextCapacity;;
         capacity = std::min(capacity * 2, kLastTextCapacity)) {
      std::unique_ptr<RemoteBlock> larger;
      if (capacity > kFirstTextCapacity) {
        larger = std::make_unique<RemoteBlock>(process_.get(),
                                               kStructBytes + capacity * sizeof(wchar_t));
      } else if (!first_block_) {
        first_block_ = std::make_unique<RemoteBlock>(
            process_.get(), kStructBytes + capacity * sizeof(wchar_t));
      }
      const RemoteBlock& block = larger ? *larger : *first_block_;
      if (!block) return std::nullopt;
      std::array<unsigned char, kStructBytes> item{};
      std::memcpy(item.data(), head.data(), sizeof(head));
      if (item_handle != 0) {
        std::memcpy(item.data() + layout_.item_handle, &item_handle,
                    layout_.pointer_size);
      }
      const std::uint64_t text = block.Address() + kStructBytes;
      std::memcpy(item.data() + layout_.text, &text, layout_.pointer_size);
      const auto chars = static_cast<std::int32_t>(capacity);
      std::memcpy(item.data() + layout_.capacity, &chars, sizeof(chars));
      if (!block.Write(item.data(), item.size())) return std::nullopt;
      if (!Send(message, w, static_cast<LPARAM>(block.Address()))) return std::nullopt;
      std::vector<wchar_t> buffer(capacity);
      if (!block.Read(kStructBytes, buffer.data(), capacity * sizeof(wchar_t))) {
        return std::nullopt;
      }
      buffer.back() = L'\0';
      const std::size_t length = std::wcslen(buffer.data());
      // A text that fills the buffer may have been cut.
      if (length + 1 < capacity) return WideToUtf8({buffer.data(), length});
      if (capacity == kLastTextCapacity) {
        const bool split = IS_HIGH_SURROGATE(buffer[length - 1]);
        return WideToUtf8({buffer.data(), length - (split ? 1 : 0)});
      }
    }
  }

 private:
  HWND control_;
  UINT timeout_;
  ProcessHandle process_;
  Layout layout_{};
  // Most texts fit the first buffer: one block for them all, as allocating
  // in another process costs more than the question.
  mutable std::unique_ptr<RemoteBlock> first_block_;
};

}  // namespace

std::optional<ItemPiece> ReadListViewItems(HWND list_view, std::uint64_t from,
                                           std::size_t most, UINT timeout_ms) {
  const ItemReader reader(list_view, timeout_ms, kListView32, kListView64);
  if (!reader.Opened()) return std::nullopt;
  const std::optional<LRESULT> count = reader.Send(LVM_GETITEMCOUNT, 0, 0);
  const std::optional<LRESULT> header = reader.Send(LVM_GETHEADER, 0, 0);
  if (!count || !header) return std::nullopt;
  if (*count < 0) return std::nullopt;
  // Only a report view has a header; the others show one column.
  std::size_t columns = 1;
  if (*header != 0) {
    DWORD_PTR header_columns = 0;
    if (!SendMessageTimeoutW(reinterpret_cast<HWND>(*header), HDM_GETITEMCOUNT, 0, 0,
                             SMTO_ABORTIFHUNG, timeout_ms, &header_columns)) {
      return std::nullopt;
    }
    columns = std::clamp<std::size_t>(header_columns, 1, kMostColumns);
  }
  ItemPiece piece{
      .total = std::min<std::size_t>(static_cast<std::size_t>(*count), kMostItems)};
  const std::size_t first = std::min<std::size_t>(from, piece.total);
  const std::size_t end = first + std::min(most, piece.total - first);
  for (std::size_t item = first; item < end; ++item) {
    std::vector<std::string> row;
    for (std::size_t column = 0; column < columns; ++column) {
      std::optional<std::string> text =
          reader.Text(LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                      {LVIF_TEXT, static_cast<std::uint32_t>(item),
                       static_cast<std::uint32_t>(column)});
      if (!text) return std::nullopt;
      row.push_back(std::move(*text));
    }
    piece.rows.push_back(std::move(row));
  }
  piece.next = end < piece.total ? end : 0;
  return piece;
}

bool SelectListViewItem(HWND list_view, std::string_view text, UINT timeout_ms) {
  const ItemReader reader(list_view, timeout_ms, kListView32, kListView64);
  const std::optional<LRESULT> count =
      reader.Opened() ? reader.Send(LVM_GETITEMCOUNT, 0, 0) : std::nullopt;
  for (LRESULT item = 0; count && item < *count; ++item) {
    const auto index = static_cast<std::uint32_t>(item);
    const std::optional<std::string> own =
        reader.Text(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), {LVIF_TEXT, index, 0});
    if (!own) return false;
    if (*own != text) continue;
    // LVITEMW's state and stateMask lie at the same place in either bitness:
    // every row unselected first, as a click leaves the others.
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    if (!reader.SendWith(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), &state,
                         sizeof(state)))
      return false;
    state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    const std::optional<LRESULT> done = reader.SendWith(
        LVM_SETITEMSTATE, static_cast<WPARAM>(item), &state, sizeof(state));
    reader.Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
    return done && *done != 0;
  }
  return false;
}

bool SelectTreeViewItem(HWND tree_view, std::string_view text, UINT timeout_ms) {
  const ItemReader reader(tree_view, timeout_ms, kTreeView32, kTreeView64);
  if (!reader.Opened()) return false;
  std::vector<LRESULT> pending;
  const std::optional<LRESULT> root = reader.Send(TVM_GETNEXTITEM, TVGN_ROOT, 0);
  if (root && *root != 0) pending.push_back(*root);
  while (!pending.empty()) {
    const LRESULT item = pending.back();
    pending.pop_back();
    const std::optional<std::string> own =
        reader.Text(TVM_GETITEMW, 0, {TVIF_TEXT | TVIF_HANDLE, 0, 0},
                    static_cast<std::uint64_t>(item));
    if (!own) return false;
    // TVGN_CARET selects and focuses it, opening its parents.
    if (*own == text) {
      const std::optional<LRESULT> done = reader.Send(TVM_SELECTITEM, TVGN_CARET, item);
      return done && *done != 0;
    }
    const std::optional<LRESULT> sibling = reader.Send(TVM_GETNEXTITEM, TVGN_NEXT, item);
    const std::optional<LRESULT> child = reader.Send(TVM_GETNEXTITEM, TVGN_CHILD, item);
    if (!sibling || !child) return false;
    if (*sibling != 0) pending.push_back(*sibling);
    if (*child != 0) pending.push_back(*child);
  }
  return false;
}

// A tree's items in the order it shows them open, each named by its handle:
// after an item come its children, then its next sibling, else the next
// sibling of the nearest parent that has one.
std::optional<ItemPiece> ReadTreeViewItems(HWND tree_view, std::uint64_t from,
                                           std::size_t most, UINT timeout_ms) {
  const ItemReader reader(tree_view, timeout_ms, kTreeView32, kTreeView64);
  if (!reader.Opened()) return std::nullopt;
  auto next = [&](WPARAM relation, LRESULT item) {
    return reader.Send(TVM_GETNEXTITEM, relation, item);
  };
  const std::optional<LRESULT> count = reader.Send(TVM_GETCOUNT, 0, 0);
  std::optional<LRESULT> item =
      from != 0 ? std::optional<LRESULT>(static_cast<LRESULT>(from)) : next(TVGN_ROOT, 0);
  if (!count || !item) return std::nullopt;
  ItemPiece piece{
      .total = std::min<std::size_t>(static_cast<std::size_t>(*count), kMostItems)};
  while (*item != 0 && piece.rows.size() < most) {
    std::optional<std::string> text =
        reader.Text(TVM_GETITEMW, 0, {TVIF_TEXT | TVIF_HANDLE, 0, 0},
                    static_cast<std::uint64_t>(*item));
    if (!text) return std::nullopt;
    piece.rows.push_back({std::move(*text)});
    std::optional<LRESULT> after = next(TVGN_CHILD, *item);
    for (LRESULT up = *item; after && *after == 0 && up != 0;) {
      after = next(TVGN_NEXT, up);
      if (after && *after == 0) {
        const std::optional<LRESULT> parent = next(TVGN_PARENT, up);
        if (!parent) return std::nullopt;
        up = *parent;
      }
    }
    if (!after) return std::nullopt;
    item = after;
  }
  piece.next = static_cast<std::uint64_t>(*item);
  return piece;
}

}  // namespace winscout::win32
