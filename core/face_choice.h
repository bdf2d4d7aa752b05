#pragma once
// Which type face to draw a set of texts with: the one that has a glyph for each character.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pelvanto {

// The characters a font must draw for `texts`: each once, in order of first use, without line
// breaks and other control characters (no face draws those).
std::wstring CharactersOf(std::wstring_view texts);

// What a face lacks of a set of characters.
struct FaceCoverage {
  std::wstring face;
  std::wstring missing;  // the characters it has no glyph for
};

// The first face that lacks nothing; else the one that lacks the fewest, the earlier of equals,
// so a face is never given up for one that draws less. None only when there is no face.
std::optional<std::size_t> BestFace(std::span<const FaceCoverage> faces);

}  // namespace pelvanto
