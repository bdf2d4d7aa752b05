#include "overlay/loupe_picture.h"

#include <algorithm>
#include <cstddef>

namespace pelvanto::overlay {

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// One-pixel frame of a rectangle in picture coordinates, clipped to the picture.
void Frame(std::span<std::uint32_t> out, int width, int height, RectI r, std::uint32_t colour) {
  const auto put = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < width && y < height)
      out[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
          static_cast<std::size_t>(x)] = colour;
  };
  for (int x = r.left; x < r.right; ++x) {
    put(x, r.top);
    put(x, r.bottom - 1);
  }
  for (int y = r.top; y < r.bottom; ++y) {
    put(r.left, y);
    put(r.right - 1, y);
  }
}

// The frozen pixel a cell shows along one axis: its index in the picture, or -1 for black.
int SourceIndex(int cell_start, int cell, int target_begin, int target_end, int source_begin,
                int limit) {
  if (cell_start < target_begin || cell_start >= target_end) return -1;
  const int index = source_begin + (cell_start - target_begin) / cell;
  return index >= 0 && index < limit ? index : -1;
}

}  // namespace

void DrawLoupePicture(const LoupeView& loupe, const PixelsView& frozen,
                      std::span<std::uint32_t> out) {
  const int width = loupe.rect.Width(), height = loupe.rect.Height();
  const int cell = loupe.cell;
  if (!loupe.visible || cell <= 0 || width <= 0 || height <= 0 ||
      out.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return;
  const auto row_of = [&](int y) { return out.begin() + static_cast<std::ptrdiff_t>(y) * width; };
  const bool has_picture = frozen.width > 0 && frozen.height > 0 &&
                           frozen.pixels.size() >= static_cast<std::size_t>(frozen.width) *
                                                       static_cast<std::size_t>(frozen.height);
  // The grid in picture coordinates: `cells` cells a side and the closing lines.
  const int gx = loupe.grid.left - loupe.rect.left, gy = loupe.grid.top - loupe.rect.top;
  const int side = loupe.grid.Width();
  const int cells = (side - 1) / cell;
  const bool grid_fits = gx >= 0 && gy >= 0 && gx + side <= width && gy + side <= height &&
                         loupe.grid.Height() == side && cells * cell + 1 == side;
  if (grid_fits) {
    for (int row = 0; row < cells; ++row) {
      const int line_y = gy + row * cell;
      std::fill_n(row_of(line_y) + gx, side, kLoupeGridPixel);
      // The first row inside this row of cells, then copied to its other rows.
      const auto first = row_of(line_y + 1);
      const int src_y = has_picture
                            ? SourceIndex(loupe.grid.top + row * cell, cell, loupe.target.top,
                                          loupe.target.bottom, loupe.source.top, frozen.height)
                            : -1;
      for (int column = 0; column < cells; ++column) {
        const int x = gx + column * cell;
        const int src_x =
            src_y < 0 ? -1
                      : SourceIndex(loupe.grid.left + column * cell, cell, loupe.target.left,
                                    loupe.target.right, loupe.source.left, frozen.width);
        const std::uint32_t colour =
            src_x < 0 ? kBlack
                      : frozen.pixels[static_cast<std::size_t>(src_y) *
                                          static_cast<std::size_t>(frozen.width) +
                                      static_cast<std::size_t>(src_x)];
        first[x] = kLoupeGridPixel;
        std::fill_n(first + x + 1, cell - 1, colour);
      }
      first[gx + side - 1] = kLoupeGridPixel;
      for (int y = line_y + 2; y < line_y + cell; ++y)
        std::copy_n(first + gx, side, row_of(y) + gx);
    }
    std::fill_n(row_of(gy + cells * cell) + gx, side, kLoupeGridPixel);
    // The pointer's pixel framed white inside black, visible on any colour.
    const int mx = gx + cells / 2 * cell, my = gy + cells / 2 * cell;
    Frame(out, width, height, {mx - 1, my - 1, mx + cell + 2, my + cell + 2}, kBlack);
    Frame(out, width, height, {mx, my, mx + cell + 1, my + cell + 1}, kWhite);
  }
  Frame(out, width, height, {0, 0, width, height}, kLoupeBorderPixel);
}

}  // namespace pelvanto::overlay
