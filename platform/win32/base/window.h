#pragma once
// The base of every window of the program. It owns the window's handle, binds the object to
// it at WM_NCCREATE and lets go at WM_NCDESTROY, hands each message to the derived class's
// noexcept Handle, and holds the one rule for closing: a window destroyed from inside its own
// handler goes once that handler has returned, so no handler runs on after its window died.
// It also keeps the window's DPI: read at creation, and updated once at WM_DPICHANGED before
// the derived class's OnDpiChanged hook runs. WM_SIZE reaches the hooks OnMinimised and
// OnRestored (any size but minimised). A derived class hides the hooks it needs.
//
//   class Frame final : public Window<Frame> {
//     friend Window<Frame>;
//     LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept;
//   };
//
// Order of destruction: the base's destructor unbinds the object before it destroys a window
// that is still there, so no message reaches a half-destroyed object. A derived class whose
// handler must still see WM_DESTROY (to stop a subscription, say) calls Destroy() first in its
// own destructor, while its members are alive.

#include <windows.h>

#include <utility>

#include "core/geometry.h"
#include "platform/win32/base/dpi.h"
#include "platform/win32/base/window_class.h"

namespace pelvanto::win32 {

template <typename Derived>
class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool Exists() const { return hwnd_ != nullptr; }
  // A handler of this window is running: the object must stay alive until it returns.
  bool Busy() const { return depth_ > 0; }
  // The DPI of the monitor the window is on (96 before it exists).
  unsigned dpi() const { return dpi_; }

  // Destroys the window now, or, from inside its own handler, once that handler returns.
  void Destroy() noexcept {
    if (!hwnd_) return;
    if (depth_ > 0) {
      destroy_pending_ = true;
      return;
    }
    ::DestroyWindow(hwnd_);
  }

 protected:
  Window() = default;
  ~Window() {
    if (!hwnd_) return;
    Bind(hwnd_, nullptr);
    ::DestroyWindow(std::exchange(hwnd_, nullptr));
  }

  // Registers the derived class's window class; `background` may be null when the window
  // paints all of itself, `style` adds class styles such as CS_DBLCLKS.
  static bool RegisterClass(HINSTANCE instance, LPCWSTR class_name, int icon_id,
                            HBRUSH background = nullptr, UINT style = 0) {
    return RegisterWindowClass(instance, class_name, &Procedure, icon_id, background, style);
  }

  // Creates the window; Handle sees its first message (WM_NCCREATE) with hwnd() already set.
  bool Create(DWORD ex_style, LPCWSTR class_name, LPCWSTR title, DWORD style, const RECT& place,
              HWND owner, HINSTANCE instance) {
    if (hwnd_) return false;
    return ::CreateWindowExW(ex_style, class_name, title, style, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, owner, nullptr,
                             instance, static_cast<Derived*>(this)) != nullptr;
  }

  // What Windows does with a message the window does not handle itself.
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) const {
    return ::DefWindowProcW(hwnd_, message, wparam, lparam);
  }

  // Runs once the outermost handler has returned and the window still exists; a derived
  // class hides it to act on what its handlers changed (invalidating, say).
  void AfterHandlers() noexcept {}
  // The window moved to a monitor of another DPI (dpi() is the new one already); `suggested`
  // is where Windows proposes the window should stand. By default it stays where it is.
  void OnDpiChanged(const RECT& /*suggested*/) noexcept {}
  void OnMinimised() noexcept {}
  void OnRestored() noexcept {}

 private:
  static void Bind(HWND hwnd, Window* self) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam,
                                    LPARAM lparam) noexcept {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
      auto* derived =
          static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      self = derived;
      self->hwnd_ = hwnd;
      Bind(hwnd, self);
    } else {
      self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wparam, lparam);

    ++self->depth_;
    const LRESULT result = self->Dispatch(message, wparam, lparam);
    --self->depth_;
    if (message == WM_NCDESTROY) {
      Bind(hwnd, nullptr);
      self->hwnd_ = nullptr;
      self->destroy_pending_ = false;
    } else if (self->depth_ == 0) {
      if (self->destroy_pending_) {
        self->destroy_pending_ = false;
        ::DestroyWindow(hwnd);
      } else {
        static_cast<Derived*>(self)->AfterHandlers();
      }
    }
    return result;
  }

  // The messages the base answers for every window, then the derived class's Handle.
  LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    auto* derived = static_cast<Derived*>(this);
    switch (message) {
      case WM_CREATE: dpi_ = dpi::ForWindow(hwnd_); break;
      case WM_DPICHANGED:
        dpi_ = HIWORD(wparam);
        derived->OnDpiChanged(*reinterpret_cast<const RECT*>(lparam));
        return 0;
      case WM_SIZE:
        if (wparam == SIZE_MINIMIZED)
          derived->OnMinimised();
        else
          derived->OnRestored();
        return 0;
      default: break;
    }
    return derived->Handle(message, wparam, lparam);
  }

  HWND hwnd_ = nullptr;
  unsigned dpi_ = kDesignDpi;
  int depth_ = 0;                 // nesting of this window's handlers
  bool destroy_pending_ = false;  // Destroy() came from inside a handler
};

}  // namespace pelvanto::win32
