/* frame_counter: how many frames reached the screen, counted from outside the program, natively.
 *
 *   frame_counter
 *
 * Watches the root window with the X DAMAGE extension (raw rectangles) until its standard input
 * closes, then prints "frames <n>": the number of drawing operations that changed the screen,
 * where the rectangles one operation reports together (XDamageNotify's "more") count once. A
 * Windows program under Wine puts each flush of its window surface on the screen as one image,
 * so for a drag it is the number of repaints the user saw; a drag of n moves that is drawn
 * move by move gives about n. The pointer itself is drawn by the X server without damage.
 */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <stdio.h>
#include <unistd.h>

int main(void) {
  Display* display = XOpenDisplay(NULL);
  int damage_event, damage_error;
  if (!display || !XDamageQueryExtension(display, &damage_event, &damage_error)) {
    fprintf(stderr, "frame_counter: no display, or no DAMAGE on it\n");
    return 2;
  }
  XDamageCreate(display, DefaultRootWindow(display), XDamageReportRawRectangles);
  XSync(display, False);
  printf("ready\n");
  fflush(stdout);
  long frames = 0;
  struct pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
  for (;;) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == damage_event + XDamageNotify && !((XDamageNotifyEvent*)&event)->more)
        ++frames;
    }
    if (poll(fds, 2, -1) < 0) break;
    if (fds[1].revents) {
      char buffer[64];
      if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) break;
    }
  }
  while (XPending(display)) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == damage_event + XDamageNotify && !((XDamageNotifyEvent*)&event)->more)
      ++frames;
  }
  printf("frames %ld\n", frames);
  XCloseDisplay(display);
  return 0;
}
