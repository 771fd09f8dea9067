#pragma once
// How a failed test prints a rectangle: {left,top,width,height}.
#include <ostream>

#include "core/Geometry.h"

namespace zevro {

inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << '{' << r.left << ',' << r.top << ',' << r.width << ',' << r.height << '}';
}

}  // namespace zevro
