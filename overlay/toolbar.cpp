#include "overlay/overlay.h"

namespace pelvanto::overlay {

namespace {

bool IsButton(int index) { return index >= kUndo && index <= kExitCapture; }

}  // namespace

void Overlay::Image2Click(int index) {
  if (unloaded_) return;
  switch (index) {
    case kUndo:
      // Back to an empty selection; the pointer and KeepOpen stay as they are.
      state_.DrawMode = SelectMode::Draw;
      elements_.Shape1.visible = false;
      elements_.Picture1.visible = false;
      elements_.LblPos.visible = false;
      elements_.lblInfo.visible = false;
      elements_.Shape1.rect.width = 0;
      elements_.Shape1.rect.height = 0;
      HideHandles();
      break;
    case kCopyAndExit:
      // Copies nothing now: the main window's pace starts the cuts, the overlay waits in the
      // notification area with its selection kept.
      services_.MainTimer1.SetEnabled(true);
      services_.pointer.Set(Pointer::Default);
      services_.window.Minimise();
      break;
    case kExitCapture:
      services_.pointer.Set(Pointer::Default);
      Unload();
      break;
    default:
      break;
  }
}

void Overlay::Image2MouseMove(int index) {
  if (unloaded_ || !IsButton(index)) return;
  for (auto& square : elements_.Shape3) square.visible = false;
  elements_.Shape3[static_cast<std::size_t>(index)].visible = true;
}

void Overlay::Picture1MouseMove() {
  if (unloaded_) return;
  services_.pointer.Set(Pointer::Arrow);
  for (auto& square : elements_.Shape3) square.visible = false;
}

}  // namespace pelvanto::overlay
