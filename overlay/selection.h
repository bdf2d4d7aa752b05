#pragma once
// The selection: the outline the user draws and moves on the frozen picture, with its two
// read-outs (size, and the colour under the pointer).

#include <cstdint>
#include <string>
#include <string_view>

#include "host/types.h"
#include "overlay/elements.h"
#include "overlay/metrics.h"

namespace pelvanto::overlay {

// What a release on the surface leaves behind.
enum class SurfaceRelease {
  kNothing,   // nothing changed
  kFinished,  // the selection is finished: the toolbar goes next to it
  kClick,     // a left click without a drag, where no finished selection was kept
  kClose,     // a non-left release with nothing to clear: the overlay closes
};

class Selection {
 public:
  // A moved selection stays inside the desktop; the read-outs take the sizes of the monitor
  // they are drawn on.
  explicit Selection(const DesktopMetrics& metrics);

  // A press on the surface. True when it cleared a finished selection.
  bool Press(MouseButton button, int x, int y);
  // A move over the surface with `held` buttons down; `colour` is the frozen picture's colour
  // under the pointer. Returns the pointer shape to show; `drawn` tells whether the outline
  // was drawn or moved (its handles must follow).
  Pointer Move(MouseButtons held, int x, int y, std::uint32_t colour, bool& drawn);
  SurfaceRelease Release(MouseButton button);
  // A handle drag's new geometry, or the old one when the handle's step was refused.
  void Resize(const RectI& rect);
  // The arrow keys: the whole selection by (dx, dy), kept on the desktop as a mouse move is;
  // or its right and bottom edges, never below size 0 nor past the desktop.
  void MoveBy(int dx, int dy);
  void GrowBy(int dx, int dy);
  // Back to no selection, as undo does.
  void Clear();

  // A finished selection is on the screen: its outline shows, however small. Only such a
  // selection is moved, resized, cut or copied.
  bool Finished() const { return finished_ && outline_.visible; }
  // A press just cleared the selection: the next release of a non-left button only ends that
  // clearing and keeps the overlay open.
  bool ClearedByPress() const { return cleared_by_press_; }
  const RectI& Rect() const { return outline_.rect; }
  const Element& Outline() const { return outline_; }
  const Label& SizeLabel() const { return size_label_; }
  const Label& ColourLabel() const { return colour_label_; }

 private:
  void PlaceLabels();
  void KeepOnDesktop(RectI& rect) const;

  const DesktopMetrics& metrics_;
  Element outline_;
  Label size_label_;
  Label colour_label_;
  bool finished_ = false;          // a finished selection exists: a left drag inside moves it
  PointI anchor_;                  // where drawing started; the selection's corner while moving
  PointI press_;                   // where the last press landed
  bool dragged_ = false;           // the left button, held alone, left the press's pixel since
  bool cleared_by_press_ = false;  // see ClearedByPress
};

// The size read-out of a selection at `r`, shown, where a selection shows it: inside its
// top-left corner, sized for that monitor and kept on it.
Label SizeReadout(const DesktopMetrics& metrics, const RectI& r);
// The size read-out: width, "x", height ("145x97").
std::wstring SizeText(int width, int height);
// The colour read-out of a 0x00BBGGRR colour: "RGB(255,128,0)".
std::wstring ColourText(std::uint32_t colour);
// Every character a read-out or the loupe can show, the placeholder "宽X高" included: their
// font is chosen to draw each of them.
inline constexpr std::wstring_view kReadOutCharacters = L"0123456789-x,RGB() 宽X高";

}  // namespace pelvanto::overlay
