#include "search/HitRowFinder.h"

#include <algorithm>

#include "core/Record.h"

namespace zevro {

namespace {

constexpr char16_t RowStart = record::marker(0);    // code 16
constexpr char16_t NameEnd = record::marker(1);     // code 17
constexpr char16_t CommentEnd = record::marker(2);  // code 18
constexpr std::size_t npos = Match::npos;

std::size_t saturatingAdd(std::size_t a, std::size_t b) { return b > npos - a ? npos : a + b; }

// The part of a row (without its code 16) the second term of an AND search
// must occur in: "name\x11comment\x12date…" -> "name", "comment" or
// "name\x11comment".
TextView searchablePart(TextView row, unsigned columns) {
  switch (columns & column::Both) {
    case column::Name: return row.substr(0, row.find(NameEnd));
    case column::Comment: {
      const std::size_t nameEnd = row.find(NameEnd);
      if (nameEnd == npos) return {};
      const std::size_t commentEnd = row.find(CommentEnd, nameEnd + 1);
      return row.substr(nameEnd + 1, commentEnd == npos ? npos : commentEnd - nameEnd - 1);
    }
    case column::Both: return row.substr(0, row.find(CommentEnd));
    default: return {};
  }
}

}  // namespace

HitRowFinder::HitRowFinder(const SearchRequest& request, TextView text) : request_(request), text_(text) {
  streams_[0].term = &request.first();
  streams_[0].needsSecond = request.condition() == Condition::And;
  if (request.condition() == Condition::Or) {
    streams_[1].term = &request.second();
    streamCount_ = 2;
  }
}

HitRowFinder::Step HitRowFinder::next(std::size_t budget) {
  for (std::size_t i = 0; i < streamCount_; ++i) advance(streams_[i], budget);
  std::size_t row = npos;
  for (std::size_t i = 0; i < streamCount_; ++i) {
    const Stream& s = streams_[i];
    if (s.pending == npos && !s.exhausted) return {Paused};
    row = std::min(row, s.pending);
  }
  if (row == npos) return {Done};
  // A row both terms found is handed out once.
  for (std::size_t i = 0; i < streamCount_; ++i)
    if (streams_[i].pending == row) streams_[i].pending = npos;
  return {Row, row};
}

void HitRowFinder::advance(Stream& s, std::size_t budget) const {
  if (s.pending != npos || s.exhausted) return;
  const std::size_t limit = saturatingAdd(s.pos, budget);
  for (;;) {
    const Match m = s.term->find(text_, s.pos, limit);
    if (!m.found()) {
      if (limit >= text_.size())
        s.exhausted = true;
      else
        s.pos = limit;
      return;
    }
    const std::size_t at = m.pos;
    const std::size_t row = rowStartBefore(at);
    if ((columnOf(row, at) & request_.columns()) == 0 || (s.needsSecond && !secondTermInRow(row, at))) {
      s.pos = at + 1;
      continue;
    }
    s.pending = row;
    // Further occurrences in this row would find it again.
    const std::size_t nextRow = text_.find(RowStart, at + 1);
    s.pos = nextRow == npos ? text_.size() : nextRow + 1;
    return;
  }
}

std::size_t HitRowFinder::rowStartBefore(std::size_t at) const {
  if (at == 0) return 0;
  const std::size_t row = text_.rfind(RowStart, at - 1);
  return row == npos ? 0 : row;
}

unsigned HitRowFinder::columnOf(std::size_t rowStart, std::size_t at) const {
  const std::size_t nameEnd = text_.find(NameEnd, rowStart + 1);
  return nameEnd == npos || at < nameEnd ? column::Name : column::Comment;
}

bool HitRowFinder::secondTermInRow(std::size_t rowStart, std::size_t at) const {
  std::size_t rowEnd = text_.find(RowStart, at + 1);
  if (rowEnd == npos) rowEnd = text_.find(ch::Null, at + 1);
  if (rowEnd == npos) rowEnd = text_.size();
  const std::size_t start = text_[rowStart] == RowStart ? rowStart + 1 : rowStart;
  const TextView part = searchablePart(text_.substr(start, rowEnd - start), request_.columns());
  return request_.second().find(part).found();
}

}  // namespace zevro
