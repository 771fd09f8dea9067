#include "core/OldRecords.h"

#include <vector>

#include "core/CatalogList.h"
#include "core/Record.h"
#include "core/RowStore.h"

namespace zevro::oldrecords {

namespace {

// The old fields: the text between separators, the record ending in one.
std::vector<Text> oldFields(TextView body) {
  std::vector<Text> fields;
  std::size_t from = 0;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != Separator) continue;
    fields.emplace_back(body.substr(from, i - from));
    from = i + 1;
  }
  if (from < body.size()) fields.emplace_back(body.substr(from));  // no separator at the end
  return fields;
}

TextView withoutDateBlanks(TextView date) {
  while (!date.empty() && date.front() == u' ') date.remove_prefix(1);
  while (!date.empty() && date.back() == u' ') date.remove_suffix(1);
  return date;
}

void appendField(Text& record, int k, TextView text) {
  record += record::marker(k);
  record += RowStore::escapeFieldText(text);
}

}  // namespace

Text convertRecord(TextView body) {
  std::vector<Text> fields = oldFields(body);
  // A fifth separator means an old field 4, the name on the medium; when it
  // is empty, whatever follows it has no place in the current record.
  const bool hasOldFourth = fields.size() >= 5 && !fields[4].empty();
  fields.resize(hasOldFourth ? 5 : 4);

  // The picture's id is taken out from wherever it stands.
  Text image;
  bool hasImage = false;
  for (Text& field : fields) {
    const std::size_t at = field.find(ImageMark);
    if (at == Text::npos) continue;
    image = field.substr(at + 1, ImageIdLength);
    field.erase(at, 1 + image.size());
    hasImage = true;
    break;
  }

  Text name = fields[0];
  Text mediumName = hasOldFourth ? fields[4] : Text();
  const std::size_t second = name.find(SecondName);
  if (second != Text::npos) {
    if (mediumName.empty()) mediumName = name.substr(second + 1);
    name.resize(second);
  }

  int flags = 0;
  if (!fields[1].empty()) flags |= catalog::FlagUserComment;
  if (!fields[2].empty()) flags |= catalog::FlagUserDate;
  if (!mediumName.empty()) flags |= catalog::FlagMediumName;
  if (hasImage) flags |= catalog::FlagImage;

  Text record;
  record.reserve(body.size() + 12);
  appendField(record, catalog::FieldName, name);
  appendField(record, catalog::FieldComment, fields[1]);
  appendField(record, catalog::FieldDate, withoutDateBlanks(fields[2]));
  appendField(record, catalog::FieldSize, fields[3]);
  record += record::marker(catalog::FieldFlags);
  record += static_cast<char16_t>(catalog::FlagBase + flags);
  appendField(record, catalog::FieldMediumName, mediumName);
  // A picture's id is field 6, closed by field 7's marker.
  if (!mediumName.empty() || hasImage) record += record::marker(catalog::FieldImage);
  if (hasImage) {
    record += RowStore::escapeFieldText(image);
    record += record::marker(catalog::FieldSpare);
  }
  return record;
}

Text convertHeap(TextView heap) {
  if (!heap.empty() && heap.front() == record::FirstMarker) return Text(heap);
  Text out;
  std::size_t end = heap.find(char16_t{0});
  if (end == TextView::npos) end = heap.size();
  if (end > 0) {
    const char16_t mark = heap.front();
    out.reserve(end + end / 4);
    std::size_t from = 1;
    for (std::size_t i = 1; i <= end; ++i) {
      if (i < end && heap[i] != mark) continue;
      out += convertRecord(heap.substr(from, i - from));
      from = i + 1;
    }
  }
  out += char16_t{0};
  const std::size_t room = (out.size() + HeapStep - 1) / HeapStep * HeapStep;
  out.resize(room, char16_t{0});
  return out;
}

}  // namespace zevro::oldrecords
