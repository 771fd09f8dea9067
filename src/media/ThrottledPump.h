#pragma once
// A pump for long work that passes at most one call in a given interval to
// the costly inner pump (letting window events run, redrawing progress);
// the calls in between return at once. Once the inner pump has said "stop",
// every later call says so too.
//
//   ThrottledPump pump([&] { return processEvents(); }, std::chrono::milliseconds(50));
//   walker callbacks: .pump = [&] { return pump(); }
#include <chrono>
#include <functional>

namespace zevro {

class ThrottledPump {
public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // clock: empty = std::chrono::steady_clock::now (tests pass their own).
  ThrottledPump(std::function<bool()> inner, std::chrono::milliseconds interval, Clock clock = {});

  // True while the work may go on. The first call always reaches the inner pump.
  bool operator()();

private:
  std::function<bool()> inner_;
  std::chrono::milliseconds interval_;
  Clock clock_;
  bool called_ = false;
  bool stopped_ = false;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace zevro
