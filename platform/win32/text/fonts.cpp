#include "platform/win32/text/fonts.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <utility>
#include <vector>

#include "app/capture_control.h"
#include "app/interval.h"
#include "core/geometry.h"
#include "overlay/selection.h"
#include "overlay/toolbar.h"
#include "platform/win32/base/owners.h"
#include "platform/win32/base/trace.h"
#include "platform/win32/text/main_window_texts.h"

namespace pelvanto::win32 {

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool Enumerated(HDC dc, const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  const std::size_t length = std::wcslen(face);
  if (length >= LF_FACESIZE) return false;
  std::copy_n(face, length, wanted.lfFaceName);  // the rest stays zero
  bool found = false;
  // Enumeration knows a face by its localised and its English name alike.
  ::EnumFontFamiliesExW(dc, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// Whether a face is installed, asked of the system once per name for the whole run: every use
// of a font tries the same names, and the installed fonts do not change under the program.
bool Installed(HDC dc, const wchar_t* face) {
  static std::vector<std::pair<std::wstring, bool>> known;
  for (const auto& [name, installed] : known)
    if (name == face) return installed;
  return known.emplace_back(face, Enumerated(dc, face)).second;
}

std::optional<std::wstring> FirstInstalled(HDC dc, std::span<const wchar_t* const> faces) {
  for (const wchar_t* face : faces)
    if (Installed(dc, face)) return face;
  return std::nullopt;
}

}  // namespace

std::wstring InstalledFace(std::span<const wchar_t* const> faces) {
  if (faces.empty()) return {};
  WindowDc screen(nullptr);
  if (!screen) return faces.front();
  return FirstInstalled(screen.get(), faces).value_or(faces.front());
}

namespace {

// The CJK faces Windows ships, tried when the design's face is missing.
constexpr std::array<const wchar_t*, 3> kWindowsChineseFaces = {L"Microsoft YaHei", L"SimHei",
                                                                L"DengXian"};

struct FontDesign {
  const wchar_t* name;
  std::span<const wchar_t* const> faces;  // the design's face, by each of its names
  int hundredths_of_point;
  int weight;
};

FontDesign DesignOf(FontUse use) {
  switch (use) {
    case FontUse::kButtons: return {L"buttons", kSongtiFaces, 1200, FW_NORMAL};
    case FontUse::kIntervalBox: return {L"interval box", kSongtiFaces, 1050, FW_NORMAL};
    case FontUse::kLabels: return {L"labels", kSongtiFaces, 900, FW_NORMAL};
    case FontUse::kHelpCaption: return {L"help caption", kKaitiFaces, 1425, FW_BOLD};
    case FontUse::kHelpText: return {L"help text", kSongtiFaces, 1050, FW_NORMAL};
    case FontUse::kReadOuts: return {L"read-outs", kSongtiFaces, 1050, FW_NORMAL};
    case FontUse::kLoupe: return {L"loupe", kSongtiFaces, 900, FW_NORMAL};
    case FontUse::kTooltips: return {L"tooltips", kSongtiFaces, 900, FW_NORMAL};
  }
  return {L"labels", kSongtiFaces, 900, FW_NORMAL};
}

HFONT MakeFont(const std::wstring& face, const FontDesign& design, unsigned dpi) {
  const int height = -ScaleToDpi(design.hundredths_of_point, 7200, dpi);
  return ::CreateFontW(height, 0, 0, 0, design.weight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

// What the font the mapper gives for `face` lacks of `characters`, under the face it really is.
std::optional<FaceCoverage> Measure(HDC dc, const std::wstring& face, const FontDesign& design,
                                    const std::wstring& characters) {
  const OwnedFont font(MakeFont(face, design, static_cast<unsigned>(kDesignDpi)));
  if (!font) return std::nullopt;
  SelectGuard selected(dc, font.get());
  if (!selected.ok()) return std::nullopt;
  wchar_t real[LF_FACESIZE] = {};
  if (::GetTextFaceW(dc, LF_FACESIZE, real) == 0) return std::nullopt;
  std::vector<WORD> glyphs(characters.size());
  FaceCoverage coverage{real, {}};
  if (::GetGlyphIndicesW(dc, characters.c_str(), static_cast<int>(characters.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
    coverage.missing = characters;
  for (std::size_t i = 0; i < characters.size() && coverage.missing != characters; ++i)
    if (glyphs[i] == 0xFFFF) coverage.missing += characters[i];
  return coverage;
}

int CALLBACK NoteChineseFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  auto& list = *reinterpret_cast<std::vector<std::wstring>*>(faces);
  // "@" names are the same faces turned for vertical text.
  if (font->lfFaceName[0] != L'@' &&
      std::find(list.begin(), list.end(), font->lfFaceName) == list.end())
    list.emplace_back(font->lfFaceName);
  return 1;
}

// Every installed face with the GB2312 character set, in the system's order; listed once.
const std::vector<std::wstring>& ChineseFaces(HDC dc) {
  static const std::vector<std::wstring> faces = [dc] {
    LOGFONTW wanted{};
    wanted.lfCharSet = GB2312_CHARSET;
    std::vector<std::wstring> found;
    ::EnumFontFamiliesExW(dc, &wanted, NoteChineseFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
  }();
  return faces;
}

// The face the system draws its messages with, by the name of the face it really is.
std::optional<std::wstring> MessageFace(HDC dc) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return std::nullopt;
  const OwnedFont font(::CreateFontIndirectW(&metrics.lfMessageFont));
  SelectGuard selected(dc, font.get());
  wchar_t real[LF_FACESIZE] = {};
  if (!font || !selected.ok() || ::GetTextFaceW(dc, LF_FACESIZE, real) == 0) return std::nullopt;
  return real;
}

// The faces measured so far for one font's characters.
class FaceTrial {
 public:
  FaceTrial(HDC dc, const FontDesign& design, const std::wstring& characters)
      : dc_(dc), design_(design), characters_(characters) {}

  // Measures a face not measured yet; true when it draws every character.
  bool Covers(const std::wstring& face) {
    if (Tried(face)) return false;
    const auto coverage = Measure(dc_, face, design_, characters_);
    // A name the mapper answers with a face already measured adds nothing.
    if (!coverage || Tried(coverage->face)) return false;
    tried_.push_back(*coverage);
    return coverage->missing.empty();
  }
  const std::vector<FaceCoverage>& tried() const { return tried_; }

 private:
  bool Tried(const std::wstring& face) const {
    return std::ranges::any_of(tried_, [&](const FaceCoverage& t) { return t.face == face; });
  }

  HDC dc_;
  const FontDesign& design_;
  const std::wstring& characters_;
  std::vector<FaceCoverage> tried_;
};

// The design's face, the Chinese faces Windows ships, the message font's face, then every
// installed Chinese face, up to the first that draws every character. A face that is not
// installed is not tried: the mapper's substitute for it has its own turn.
void TryInOrder(FaceTrial& trial, HDC dc, std::span<const wchar_t* const> design_faces) {
  if (auto face = FirstInstalled(dc, design_faces); face && trial.Covers(*face)) return;
  for (const wchar_t* face : kWindowsChineseFaces)
    if (Installed(dc, face) && trial.Covers(face)) return;
  if (auto face = MessageFace(dc); face && trial.Covers(*face)) return;
  for (const std::wstring& face : ChineseFaces(dc))
    if (trial.Covers(face)) return;
}

FaceCoverage ChooseFace(const FontDesign& design, const std::wstring& characters) {
  WindowDc screen(nullptr);
  // Without a screen DC nothing can be measured: the mapper's choice for the design's face.
  if (!screen) return {design.faces.front(), {}};
  FaceTrial trial(screen.get(), design, characters);
  TryInOrder(trial, screen.get(), design.faces);
  const auto best = BestFace(trial.tried());
  if (!best) return {design.faces.front(), {}};
  return trial.tried()[*best];
}

void TraceMissing(FontUse use, const FaceCoverage& chosen) {
  std::wstring codes;
  for (wchar_t c : chosen.missing) {
    wchar_t code[12];
    std::swprintf(code, sizeof code / sizeof code[0], L" U+%04X", static_cast<unsigned>(c));
    codes += code;
  }
  TraceLine(std::wstring(L"no installed face draws every character of the ") + NameOf(use) +
            L"; drawn with \"" + chosen.face + L"\", which lacks" + codes);
}

}  // namespace

const wchar_t* NameOf(FontUse use) { return DesignOf(use).name; }

std::wstring TextsOf(FontUse use) {
  switch (use) {
    case FontUse::kButtons:
      return std::wstring(app::kStartCaption) + std::wstring(app::kStopCaption) + kExitCaption;
    case FontUse::kIntervalBox: {
      // The box takes typed numbers too.
      std::wstring texts = L"0123456789" + std::wstring(app::kInitialInterval);
      for (int seconds : app::IntervalChoices()) texts += std::to_wstring(seconds);
      return texts;
    }
    case FontUse::kLabels: return kIntervalLabelText;
    case FontUse::kHelpCaption: return kHelpCaptionText;
    case FontUse::kHelpText: return kHelpTextContent;
    case FontUse::kReadOuts:
    case FontUse::kLoupe: return std::wstring(overlay::kReadOutCharacters);
    case FontUse::kTooltips: {
      std::wstring texts = kIntervalTip;
      for (const auto& button : overlay::kToolbarButtons) texts += button.tooltip;
      return texts;
    }
  }
  return {};
}

const FaceCoverage& FaceFor(FontUse use) {
  // Chosen at a use's first font, once for the program: measuring costs a font per face tried.
  static std::array<std::optional<FaceCoverage>, kFontUses.size()> chosen;
  auto& entry = chosen[static_cast<std::size_t>(use)];
  if (!entry) {
    entry = ChooseFace(DesignOf(use), CharactersOf(TextsOf(use)));
    if (!entry->missing.empty()) TraceMissing(use, *entry);
  }
  return *entry;
}

HFONT CreateFontFor(FontUse use, unsigned dpi) {
  return MakeFont(FaceFor(use).face, DesignOf(use), dpi);
}

}  // namespace pelvanto::win32
