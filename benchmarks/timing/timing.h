#pragma once
// The clock and the summary the timing tools share.

#include <windows.h>

#include <algorithm>
#include <vector>

namespace pelvanto::win32::timing {

// The performance counter in milliseconds.
inline double NowMs() {
  static const double ticks_per_ms = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / ticks_per_ms;
}

inline double NowUs() { return NowMs() * 1000.0; }

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace pelvanto::win32::timing
