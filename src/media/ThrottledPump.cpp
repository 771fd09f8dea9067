#include "media/ThrottledPump.h"

#include <utility>

namespace zevro {

ThrottledPump::ThrottledPump(std::function<bool()> inner, std::chrono::milliseconds interval, Clock clock)
    : inner_(std::move(inner)), interval_(interval), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::chrono::steady_clock::now(); };
}

bool ThrottledPump::operator()() {
  if (stopped_) return false;
  const auto now = clock_();
  if (called_ && now - last_ < interval_) return true;
  called_ = true;
  last_ = now;
  if (inner_ && !inner_()) stopped_ = true;
  return !stopped_;
}

}  // namespace zevro
