/* frame_watch: is a frame on the screen in every screenshot? Counted from outside the program.
 *
 *   frame_watch RRGGBB SHOTS_PER_SECOND SECONDS X,Y,W,H [X,Y,W,H ...]
 *
 * Takes SHOTS_PER_SECOND screenshots a second, for SECONDS, of the rectangles given (the
 * frame's edges, in root pixels), each through XGetImage of the root as any screenshot tool
 * reads it, and counts the screenshots in which some pixel of the rectangles is not the colour
 * RRGGBB. Prints "shots <n> without <m>", then "without at <seconds>" for each such screenshot
 * (at most 20), and "late <k>": the screenshots taken more than a period after their time.
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#define MAX_RECTS 8
#define MAX_LISTED 20

static unsigned long channel(unsigned long rgb8, unsigned long mask) {
  /* An 8-bit channel value placed where the visual's mask says. */
  int shift = 0, bits = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++bits;
  }
  return (bits >= 8 ? rgb8 << (bits - 8) : rgb8 >> (8 - bits)) << shift;
}

static double seconds(const struct timespec* t) {
  return (double)t->tv_sec + (double)t->tv_nsec / 1e9;
}

int main(int argc, char** argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: frame_watch RRGGBB SHOTS_PER_SECOND SECONDS X,Y,W,H ...\n");
    return 2;
  }
  const unsigned long rgb = strtoul(argv[1], NULL, 16);
  const double rate = atof(argv[2]);
  const double duration = atof(argv[3]);
  int rects[MAX_RECTS][4];
  int count = 0;
  for (int i = 4; i < argc && count < MAX_RECTS; ++i) {
    if (sscanf(argv[i], "%d,%d,%d,%d", &rects[count][0], &rects[count][1], &rects[count][2],
               &rects[count][3]) == 4 &&
        rects[count][2] > 0 && rects[count][3] > 0)
      ++count;
  }
  Display* display = XOpenDisplay(NULL);
  if (!display || count == 0 || rate <= 0) {
    fprintf(stderr, "frame_watch: no display, no rectangle or no rate\n");
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  Visual* visual = DefaultVisual(display, DefaultScreen(display));
  const unsigned long want = channel((rgb >> 16) & 0xff, visual->red_mask) |
                             channel((rgb >> 8) & 0xff, visual->green_mask) |
                             channel(rgb & 0xff, visual->blue_mask);
  const unsigned long mask = visual->red_mask | visual->green_mask | visual->blue_mask;

  struct timespec start, due, now;
  clock_gettime(CLOCK_MONOTONIC, &start);
  due = start;
  const long period_ns = (long)(1e9 / rate);
  long shots = 0, without = 0, late = 0, listed = 0;
  double listed_at[MAX_LISTED];
  while (seconds(&due) - seconds(&start) < duration) {
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, NULL);
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (seconds(&now) - seconds(&due) > 1.0 / rate) ++late;
    int shown = 1;
    for (int r = 0; r < count && shown; ++r) {
      XImage* image = XGetImage(display, root, rects[r][0], rects[r][1], (unsigned)rects[r][2],
                                (unsigned)rects[r][3], AllPlanes, ZPixmap);
      if (!image) {
        shown = 0;
        break;
      }
      for (int y = 0; y < rects[r][3] && shown; ++y)
        for (int x = 0; x < rects[r][2]; ++x)
          if ((XGetPixel(image, x, y) & mask) != want) {
            shown = 0;
            break;
          }
      XDestroyImage(image);
    }
    ++shots;
    if (!shown) {
      if (listed < MAX_LISTED) listed_at[listed++] = seconds(&now) - seconds(&start);
      ++without;
    }
    due.tv_nsec += period_ns;
    while (due.tv_nsec >= 1000000000L) {
      due.tv_nsec -= 1000000000L;
      ++due.tv_sec;
    }
  }
  printf("shots %ld without %ld\n", shots, without);
  for (long i = 0; i < listed; ++i) printf("without at %.3f\n", listed_at[i]);
  printf("late %ld\n", late);
  XCloseDisplay(display);
  return 0;
}
