/* frame_timer: times "click -> whole frame on screen" from outside the program, natively.
 *
 *   frame_timer X Y [SETTLE_MS] [TIMEOUT_MS]
 *
 * Watches the root window with the X DAMAGE extension (raw rectangles) and its children's
 * MapNotify, then clicks at (X, Y) through XTEST itself, so the start of the clock is the click.
 * From the first MapNotify of a window that covers the whole root (a full-screen window or
 * its window manager's frame; smaller ones, such as a tray window, are passed over) on, the damage rectangles are gathered until
 * their union covers the whole root; that is one full frame. Ends when nothing has been drawn
 * for SETTLE_MS (default 700) after a full frame, or at TIMEOUT_MS (default 15000). Prints, in
 * ms since the click:
 *   mapped <ms>        that MapNotify
 *   first_frame <ms>   the first time the damage since the map covered the whole root
 *   last_frame <ms>    the last time it did (a map may clear the window first, the program's
 *                      paint then covers it again)
 *   frames <n>         how many times it did
 * A figure that never came is printed as -1. The exit status is 0 only when a frame came.
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec * 1000.0 + (double)t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: frame_timer X Y [SETTLE_MS] [TIMEOUT_MS]\n");
    return 2;
  }
  const int x = atoi(argv[1]), y = atoi(argv[2]);
  const double settle = argc > 3 ? atof(argv[3]) : 700.0;
  const double timeout = argc > 4 ? atof(argv[4]) : 15000.0;

  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "frame_timer: cannot open the display\n");
    return 2;
  }
  int damage_event, damage_error, xtest_event, xtest_error, major, minor;
  if (!XDamageQueryExtension(display, &damage_event, &damage_error) ||
      !XTestQueryExtension(display, &xtest_event, &xtest_error, &major, &minor)) {
    fprintf(stderr, "frame_timer: the X server lacks DAMAGE or XTEST\n");
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  const int width = DisplayWidth(display, DefaultScreen(display));
  const int height = DisplayHeight(display, DefaultScreen(display));
  XSelectInput(display, root, SubstructureNotifyMask);
  XDamageCreate(display, root, XDamageReportRawRectangles);

  XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
  XSync(display, False);
  /* Whatever the motion drew is not part of the measurement. */
  while (XPending(display)) {
    XEvent skipped;
    XNextEvent(display, &skipped);
  }
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XFlush(display);
  const double start = now_ms();

  double mapped = -1, first_frame = -1, last_frame = -1, last_damage = -1;
  int frames = 0;
  Region covered = XCreateRegion();
  struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
  for (;;) {
    const double t = now_ms() - start;
    if (t > timeout || (last_frame >= 0 && t - last_damage > settle)) break;
    if (!XPending(display)) {
      poll(&fd, 1, 20);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    const double at = now_ms() - start;
    if (event.type == MapNotify && mapped < 0) {
      Window unused_root;
      int wx, wy;
      unsigned ww = 0, wh = 0, border, depth;
      if (XGetGeometry(display, event.xmap.window, &unused_root, &wx, &wy, &ww, &wh, &border,
                       &depth) &&
          ww >= (unsigned)width && wh >= (unsigned)height)
        mapped = at;
    } else if (event.type == damage_event + XDamageNotify && mapped >= 0) {
      const XDamageNotifyEvent* damage = (const XDamageNotifyEvent*)&event;
      XRectangle area = {damage->area.x, damage->area.y, damage->area.width, damage->area.height};
      XUnionRectWithRegion(&area, covered, covered);
      last_damage = at;
      if (XRectInRegion(covered, 0, 0, (unsigned)width, (unsigned)height) == RectangleIn) {
        if (first_frame < 0) first_frame = at;
        last_frame = at;
        ++frames;
        XDestroyRegion(covered);
        covered = XCreateRegion();
      }
    }
  }
  XDestroyRegion(covered);
  printf("mapped %.1f\nfirst_frame %.1f\nlast_frame %.1f\nframes %d\n", mapped, first_frame,
         last_frame, frames);
  XCloseDisplay(display);
  return first_frame >= 0 ? 0 : 1;
}
