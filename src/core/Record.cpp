#include "core/Record.h"

namespace zevro::record {

namespace {

TitleField titleField(TextView line, std::size_t textSize, int k) {
  const Spot spot = locate(line.data(), line.data() + line.size(), k);
  TitleField f;
  if (!spot.present) return f;
  f.present = true;
  f.text = TextView(spot.text, static_cast<std::size_t>(spot.textEnd - spot.text));
  // The line was cut at the next record or code 0, which close its last
  // field too; only the end of the text leaves a field open.
  f.closed = static_cast<std::size_t>(spot.textEnd - line.data()) < textSize;
  return f;
}

}  // namespace

TitleLine titleLine(TextView heap) {
  std::size_t end = 0;
  if (!heap.empty() && heap[0] != ch::Null) {
    end = 1;
    while (end < heap.size() && heap[end] != ch::Null && heap[end] != FirstMarker) ++end;
  }
  const TextView line = heap.substr(0, end);
  TitleLine t;
  t.label = titleField(line, heap.size(), TitleLabel);
  t.title = titleField(line, heap.size(), TitleText);
  t.total = titleField(line, heap.size(), TitleTotal);
  t.source = titleField(line, heap.size(), TitleSource);
  return t;
}

}  // namespace zevro::record
