#include "tests/support/x_connection.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

Display* Connection(void* display) { return static_cast<Display*>(display); }

// Xlib's default handler ends the process on any error, such as a window that has just gone.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

uint8_t Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const unsigned long value = (pixel & mask) >> shift;
  const unsigned long maximum = mask >> shift;
  return static_cast<uint8_t>(value * 255 / maximum);
}

}  // namespace

XConnection::~XConnection() {
  if (display_) XCloseDisplay(Connection(display_));
}

bool XConnection::Open(const std::string& displayName) {
  XSetErrorHandler(IgnoreError);
  display_ = XOpenDisplay(displayName.c_str());
  return display_ != nullptr;
}

Image XConnection::Screenshot() {
  if (!display_) return {};
  Display* display = Connection(display_);
  const Window root = DefaultRootWindow(display);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, root, &attributes)) return {};
  XImage* shot = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                           static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!shot) return {};
  Image image(attributes.width, attributes.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const unsigned long pixel = XGetPixel(shot, x, y);
      image.at(x, y) = Rgb8{Channel(pixel, shot->red_mask), Channel(pixel, shot->green_mask),
                            Channel(pixel, shot->blue_mask)};
    }
  }
  XDestroyImage(shot);
  return image;
}

unsigned long XConnection::FindWindowTitled(const std::string& title) {
  if (!display_) return 0;
  Display* display = Connection(display_);
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  unsigned long found = 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    // The title's bytes whatever their encoding (SDL sets UTF-8, which XFetchName and xdotool
    // do not read).
    XTextProperty name{};
    if (!XGetWMName(display, children[i], &name)) continue;
    if (name.value && std::string(reinterpret_cast<const char*>(name.value), name.nitems) == title) {
      found = children[i];
    }
    if (name.value) XFree(name.value);
  }
  if (children) XFree(children);
  return found;
}

bool XConnection::SendCloseRequest(unsigned long window) {
  if (!display_) return false;
  Display* display = Connection(display_);
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = window;
  close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &close);
  XSync(display, False);
  return sent != 0;
}
