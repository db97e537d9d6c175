#pragma once

#include <windows.h>

#include <utility>

namespace winscout::win32 {

// Owns one handle and frees it with Free; moves, never copies.
template <typename Handle, auto Free>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, {})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, {});
    }
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  void reset(Handle handle = {}) {
    if (handle_) Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

inline void FreeGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void FreeIcon(HICON icon) { DestroyIcon(icon); }
inline void ReleaseModule(HMODULE module) { FreeLibrary(module); }
inline void FreeMenu(HMENU menu) { DestroyMenu(menu); }

using UniqueFont = UniqueHandle<HFONT, &FreeGdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &FreeGdiObject>;
using UniqueIcon = UniqueHandle<HICON, &FreeIcon>;
using UniqueModule = UniqueHandle<HMODULE, &ReleaseModule>;
using UniqueMenu = UniqueHandle<HMENU, &FreeMenu>;

}  // namespace winscout::win32
