#include "core/Placement.h"

#include <algorithm>

namespace zevro {

namespace {

// The owner as placement sees it: a top above the screen counts as 0.
Rect effectiveOwner(const Rect& owner) {
  Rect r = owner;
  r.top = std::max(owner.top, 0);
  return r;
}

Rect at(int left, int top, int width, int height) { return Rect{left, top, width, height}; }

Rect centred(const Rect& w, const Rect& o) {
  return at(o.left + (o.width - w.width) / 2, o.top + (o.height - w.height) / 2, w.width, w.height);
}

Rect besideVertically(const Rect& w, const Rect& o, const Rect& s) {
  if (o.bottom() + w.height <= s.bottom()) return at(o.left, o.bottom(), w.width, w.height);
  if (o.top - w.height >= s.top) return at(o.left, o.top - w.height, w.width, w.height);
  if (o.right() + w.width <= s.right()) return at(o.right(), o.top, w.width, w.height);
  return at(o.left, s.top, w.width, w.height);
}

Rect besideHorizontally(const Rect& w, const Rect& o, const Rect& s, int width) {
  if (o.right() + width <= s.right()) return at(o.right(), o.top, width, w.height);
  if (o.left - width >= s.left) return at(o.left - width, o.top, width, w.height);
  if (o.bottom() + w.height <= s.bottom()) return at(o.left, o.bottom(), width, w.height);

  const int roomRight = s.right() - o.right();
  const int roomLeft = o.left - s.left;
  if (std::max(roomRight, roomLeft) <= 0) {
    return at(std::max(s.right() - width, s.left), o.top, width, w.height);
  }
  if (roomRight >= roomLeft) return at(o.right(), o.top, roomRight, w.height);
  return at(s.left, o.top, roomLeft, w.height);
}

}  // namespace

Placement placeBesideOwner(const Rect& window, const Rect& owner, const Rect& screen, int mode, bool ownerMaximized) {
  const Rect o = effectiveOwner(owner);
  Placement result;
  result.keepOnTop = ownerMaximized;
  if (mode == 1) {
    result.rect = centred(window, o);
  } else if (mode < 2) {
    result.rect = besideVertically(window, o, screen);
  } else {
    result.rect = besideHorizontally(window, o, screen, ownerMaximized ? window.width : mode);
  }
  return result;
}

std::int64_t screenColours(int bitsPerPixel, int planes) {
  const int bits = std::clamp(bitsPerPixel, 0, 24);
  return (std::int64_t{1} << bits) * planes;
}

Rect keptOnScreen(const Rect& window, const Rect& screen) {
  Rect kept = window;
  kept.left = std::clamp(window.left, screen.left, std::max(screen.left, screen.right() - window.width));
  kept.top = std::clamp(window.top, screen.top, std::max(screen.top, screen.bottom() - window.height));
  return kept;
}

}  // namespace zevro
