#pragma once
// Move-only owners of Windows handles: each frees its handle exactly once, on every path.

#include <windows.h>

#include <utility>

namespace pelvanto::win32 {

// Owns a handle of type H, freed by Free::operator()(H).
template <typename H, typename Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H handle) : handle_(handle) {}
  ~Owned() { Reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, H{});
    }
    return *this;
  }

  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != H{}; }
  // Gives up ownership, e.g. to the clipboard.
  H release() { return std::exchange(handle_, H{}); }
  void Reset(H handle = H{}) {
    if (handle_ != H{}) Free{}(handle_);
    handle_ = handle;
  }

 private:
  H handle_{};
};

struct DeleteDcFn {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct DeleteObjectFn {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct DestroyIconFn {
  void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
struct CloseHandleFn {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
struct GlobalFreeFn {
  void operator()(HGLOBAL memory) const { ::GlobalFree(memory); }
};
struct DestroyMenuFn {
  void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};
struct UnhookWinEventFn {
  void operator()(HWINEVENTHOOK hook) const { ::UnhookWinEvent(hook); }
};

using OwnedDc = Owned<HDC, DeleteDcFn>;  // CreateDC, CreateCompatibleDC
using OwnedBitmap = Owned<HBITMAP, DeleteObjectFn>;
using OwnedFont = Owned<HFONT, DeleteObjectFn>;
using OwnedBrush = Owned<HBRUSH, DeleteObjectFn>;
using OwnedPen = Owned<HPEN, DeleteObjectFn>;
using OwnedRegion = Owned<HRGN, DeleteObjectFn>;
using OwnedIcon = Owned<HICON, DestroyIconFn>;
using OwnedHandle = Owned<HANDLE, CloseHandleFn>;  // processes, events
using OwnedGlobal = Owned<HGLOBAL, GlobalFreeFn>;  // GlobalAlloc, until the clipboard takes it
using OwnedMenu = Owned<HMENU, DestroyMenuFn>;     // CreatePopupMenu
using OwnedWinEventHook = Owned<HWINEVENTHOOK, UnhookWinEventFn>;  // SetWinEventHook

// Movable global memory locked for as long as this lives; data() is null when it cannot be.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL memory)
      : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
  ~GlobalLockScope() {
    if (data_) ::GlobalUnlock(memory_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  void* data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

// A DC from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// A WM_PAINT's BeginPaint, ended with EndPaint on every path.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintScope() { ::EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }
  // The area to repaint, in client pixels.
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// HGDI_ERROR without the macro's unsigned-to-signed conversion, which -Wsign-conversion rejects.
inline HGDIOBJ GdiError() { return reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(-1)); }

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (previous_ && previous_ != GdiError()) ::SelectObject(dc_, previous_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  // Puts the previous object back now (before the selected one is handed away).
  void Restore() {
    if (previous_ && previous_ != GdiError()) ::SelectObject(dc_, previous_);
    previous_ = nullptr;
  }
  bool ok() const { return previous_ != nullptr && previous_ != GdiError(); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace pelvanto::win32
