#include "core/IconEdit.h"

#include <algorithm>

#include "core/Numbers.h"
#include "core/Strings.h"

namespace zevro {

namespace {

constexpr std::size_t CodeDigits = 3;
constexpr int FirstFileKind = 10;

bool alphanumeric(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'); }

}  // namespace

IconEdit::IconEdit(const IconTable& inUse, int stripIcons)
    : map_(inUse.iconMap()), types_(inUse.types()), stripIcons_(stripIcons), originalIcons_(stripIcons) {}

std::vector<IconEdit::Entry> IconEdit::entries() const {
  std::vector<Entry> out;
  std::size_t at = 0;
  while (at < types_.size()) {
    const std::size_t dot = types_.find(u'.', at);
    const std::size_t bar = types_.find(u'|', at);
    if (dot == Text::npos || bar == Text::npos || dot > bar || dot < at + CodeDigits) break;
    int code = 0;
    for (std::size_t i = dot - CodeDigits; i < dot; ++i) code = code * 10 + (types_[i] - u'0');
    out.push_back({types_.substr(dot + 1, bar - dot - 1), code});
    at = bar + 1;
  }
  return out;
}

int IconEdit::iconOf(int code) const {
  if (code < 0 || code > LastCode) return 0;
  return map_[static_cast<std::size_t>(code)];
}

std::optional<int> IconEdit::pasteTarget(int code) const {
  if (code < 0 || code > LastCode) return std::nullopt;
  const int icon = iconOf(code);
  bool shared = icon == 0;
  for (int other = 0; other <= LastCode && !shared; ++other)
    shared = other != code && map_[static_cast<std::size_t>(other)] == icon;
  const int target = shared ? stripIcons_ + 1 : icon;
  if (target > LastCode) return std::nullopt;
  return target;
}

std::optional<int> IconEdit::paste(int code) {
  const std::optional<int> target = pasteTarget(code);
  if (!target) return std::nullopt;
  map_[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(*target);
  stripIcons_ = std::max(stripIcons_, *target);
  changed_ = true;
  return target;
}

int IconEdit::lastCode() const {
  const std::vector<Entry> all = entries();
  return all.empty() ? FirstFileKind - 1 : all.back().code;
}

IconEdit::AddResult IconEdit::add(TextView answer) {
  const Text extension = asciiUpper(trim(answer));
  if (extension.empty()) return {AddStatus::Empty, 0, extension};
  if (extension.size() > MaxExtension) return {AddStatus::TooLong, 0, extension};
  if (!std::all_of(extension.begin(), extension.end(), alphanumeric))
    return {AddStatus::NotAlphanumeric, 0, extension};
  if (types_.find(u"." + extension + u"|") != Text::npos) return {AddStatus::Listed, 0, extension};
  const int code = lastCode() + 1;
  if (code > LastCode) return {AddStatus::NoCodeLeft, 0, extension};
  types_ += zeroPadded(code, static_cast<int>(CodeDigits)) + u"." + extension + u"|";
  map_[static_cast<std::size_t>(code)] = IconTable::UnlistedKind;
  changed_ = true;
  return {AddStatus::Added, code, extension};
}

IconEdit::Outcome IconEdit::finish(bool ok) const {
  if (!ok || !changed_) return {false, false, originalIcons_};
  return {true, true, stripIcons_};
}

void IconEdit::commitTo(IconTable& inUse) const {
  inUse.iconMap() = map_;
  inUse.setTypes(types_);
}

}  // namespace zevro
