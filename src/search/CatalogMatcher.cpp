#include "search/CatalogMatcher.h"

#include <algorithm>
#include <cstring>

#include "core/Record.h"
#include "search/CatalogRows.h"
#include "search/HitRowFinder.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char16_t RowStart = record::FirstMarker;
constexpr char RowStartByte = 0x10;

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

Text dateOf(TextView field, bool twoTerms) {
  if (field.empty()) return {};
  if (twoTerms) return isDigit(field[0]) ? Text(field) : Text();
  if (!isDigit(field[0]) && field[0] != u' ') return {};
  const std::size_t first = field.find_first_not_of(u' ');
  return first == TextView::npos ? Text() : Text(field.substr(first));
}

}  // namespace

CatalogMatcher::CatalogMatcher(const SearchRequest& request) : request_(request) {
  if (RawTermSearch::suits(request)) raw_.emplace(request);
}

bool CatalogMatcher::search(ListFileBytes& file, TextView title, const Found& found, const Pump& pump) {
  if (file.layout() != ListFileBytes::Layout::Current) return true;
  return raw_ ? searchBytes(file, title, found) : searchDecoded(file, title, found, pump);
}

ResultFields CatalogMatcher::fieldsOf(TextView title, Text path, TextView record, bool twoTerms) {
  return {Text(title), std::move(path), dateOf(record::field(record, 2), twoTerms), Text(record::field(record, 1))};
}

bool CatalogMatcher::rowHasHit(TextView record) const {
  HitRowFinder finder(request_, record);
  return finder.next().kind == HitRowFinder::Row;
}

bool CatalogMatcher::searchBytes(ListFileBytes& file, TextView title, const Found& found) {
  // Only the records: no term holds code 0, so none runs past the end marker.
  raw_->reset(file.heap());
  std::optional<CatalogRows> rows;
  for (std::size_t at = raw_->next(0); at != RawTermSearch::npos;) {
    if (!rows) rows.emplace(file.heap(), file.levels());
    const int row = rows->rowAt(at);
    if (row < 0) break;
    const std::string_view recordBytes = rows->recordBytes(row);
    const std::size_t rowEnd = rows->start(row) + recordBytes.size();
    const Text record = cp932::decode(recordBytes);
    if (rowHasHit(record) && !found(fieldsOf(title, rows->pathOf(row), record, request_.isTwoTerm()))) return false;
    at = raw_->next(rowEnd);
  }
  return true;
}

bool CatalogMatcher::searchRows(ListFileBytes& file, TextView title, const std::vector<int>& rows,
                                 const Found& found) {
  if (file.layout() != ListFileBytes::Layout::Current || rows.empty()) return true;
  CatalogRows catalogRows(file.heap(), file.levels());
  for (int row : rows) {
    if (!catalogRows.hasRow(row)) break;
    const Text record = catalogRows.record(row);
    if (request_.foldsText()) {
      request_.foldText(record, folded_);
      if (!rowHasHit(folded_)) continue;
    } else if (!rowHasHit(record)) {
      continue;
    }
    if (!found(fieldsOf(title, catalogRows.pathOf(row), record, request_.isTwoTerm()))) return false;
  }
  return true;
}

bool CatalogMatcher::prepareText(std::string_view heap, const Pump& pump) {
  text_.clear();
  for (std::size_t from = 0; from < heap.size();) {
    // Pieces end before a row's code 16: no character and no joined voiced
    // mark spans two of them, so each piece decodes and folds on its own.
    std::size_t to = heap.size();
    if (heap.size() - from > PieceBytes) {
      const void* next = std::memchr(heap.data() + from + PieceBytes, RowStartByte, heap.size() - from - PieceBytes);
      if (next) to = static_cast<std::size_t>(static_cast<const char*>(next) - heap.data());
    }
    piece_ = cp932::decode(heap.substr(from, to - from));
    if (request_.foldsText()) {
      request_.foldText(piece_, folded_);
      text_ += folded_;
    } else {
      text_ += piece_;
    }
    from = to;
    if (from < heap.size() && pump && !pump()) return false;
  }
  return true;
}

bool CatalogMatcher::searchDecoded(ListFileBytes& file, TextView title, const Found& found, const Pump& pump) {
  if (!prepareText(file.heap(), pump)) return false;
  const TextView text = text_;
  std::optional<CatalogRows> rows;
  HitRowFinder finder(request_, text);
  std::size_t counted = 0;  // code-16 characters before `countedTo`
  std::size_t countedTo = 0;
  for (auto step = finder.next(PumpBudget); step.kind != HitRowFinder::Done; step = finder.next(PumpBudget)) {
    if (step.kind == HitRowFinder::Paused) {
      if (pump && !pump()) return false;
      continue;
    }
    // Rows are found by number: folding may have shortened the text before the row.
    counted +=
        static_cast<std::size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(countedTo),
                                            text.begin() + static_cast<std::ptrdiff_t>(step.rowStart) + 1, RowStart));
    countedTo = step.rowStart + 1;
    if (!rows) rows.emplace(file.heap(), file.levels());
    const int row = static_cast<int>(counted) - 1;
    if (!rows->hasRow(row)) continue;
    if (!found(fieldsOf(title, rows->pathOf(row), rows->record(row), request_.isTwoTerm()))) return false;
  }
  return true;
}

}  // namespace zevro
