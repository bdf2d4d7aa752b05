#include "overlay/metrics.h"

namespace pelvanto::overlay {

namespace {
constexpr float kTwipsPerInch = 1440;
constexpr float kDesignDpi = 96;
}  // namespace

float Metrics::Px(float pixels_at_96) const {
  return pixels_at_96 * static_cast<float>(dpi) / kDesignDpi;
}

float Metrics::Twips(float twips) const {
  return twips * static_cast<float>(dpi) / kTwipsPerInch;
}

Metrics::Metrics(unsigned dots_per_inch)
    : dpi(dots_per_inch == 0 ? 96 : dots_per_inch),
      handle(Px(4)),
      label_gap(Px(2)),
      toolbar_gap(Px(4)),
      toolbar{0, 0, Twips(1125), Twips(390)},
      frame{0, 0, Twips(1120), Twips(390)},
      buttons{{{Twips(70), Twips(75), Twips(240), Twips(240)},
               {Twips(440), Twips(75), Twips(240), Twips(240)},
               {Twips(800), Twips(75), Twips(240), Twips(240)}}},
      hovers{{{Twips(40), Twips(45), Twips(300), Twips(300)},
              {Twips(400), Twips(45), Twips(300), Twips(300)},
              {Twips(760), Twips(45), Twips(300), Twips(300)}}},
      size_label{Twips(120), Twips(2640), Twips(2775), Twips(255)},
      colour_label{Twips(120), Twips(2880), Twips(2625), Twips(255)},
      first_outline{Twips(600), Twips(2760), Twips(2175), Twips(1455)} {}

}  // namespace pelvanto::overlay
