#include "core/face_choice.h"

namespace pelvanto {

std::wstring CharactersOf(std::wstring_view texts) {
  std::wstring characters;
  for (wchar_t c : texts)
    if (c >= L' ' && c != 0x7F && characters.find(c) == std::wstring::npos) characters += c;
  return characters;
}

std::optional<std::size_t> BestFace(std::span<const FaceCoverage> faces) {
  std::optional<std::size_t> best;
  for (std::size_t i = 0; i < faces.size(); ++i) {
    if (faces[i].missing.empty()) return i;
    if (!best || faces[i].missing.size() < faces[*best].missing.size()) best = i;
  }
  return best;
}

}  // namespace pelvanto
