#include "media/ListTime.h"

#include <chrono>
#include <ctime>

namespace zevro {

namespace {

constexpr FileTime NanosPerSecond = 1000000000;
constexpr std::int64_t SecondsPerDay = 86400;

// Floor division: a time before 1970 still falls into the right second and day.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

ListTime fromSecondsInZone(std::int64_t seconds) {
  const std::int64_t days = floorDiv(seconds, SecondsPerDay);
  const std::int64_t inDay = seconds - days * SecondsPerDay;
  const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{days}}};
  ListTime t;
  t.year = static_cast<int>(date.year());
  t.month = static_cast<int>(static_cast<unsigned>(date.month()));
  t.day = static_cast<int>(static_cast<unsigned>(date.day()));
  t.hour = static_cast<int>(inDay / 3600);
  t.minute = static_cast<int>(inDay % 3600 / 60);
  return t;
}

ListTime machineTime(std::int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  struct tm fields {};
  if (!::localtime_r(&t, &fields)) return fromSecondsInZone(seconds);
  ListTime result;
  result.year = fields.tm_year + 1900;
  result.month = fields.tm_mon + 1;
  result.day = fields.tm_mday;
  result.hour = fields.tm_hour;
  result.minute = fields.tm_min;
  return result;
}

void appendTwoDigits(Text& out, int n) {
  n %= 100;
  if (n < 0) n += 100;
  out.push_back(static_cast<char16_t>(u'0' + n / 10));
  out.push_back(static_cast<char16_t>(u'0' + n % 10));
}

}  // namespace

ListTime ListTime::of(FileTime time, Zone zone) {
  const std::int64_t seconds = floorDiv(time, NanosPerSecond);
  if (zone == Zone::Machine) return machineTime(seconds);
  return fromSecondsInZone(seconds + JapanOffsetSeconds);
}

Text ListTime::rowText() const {
  Text out;
  writeRowText(out);
  return out;
}

void ListTime::writeRowText(Text& out) const {
  out.clear();
  appendTwoDigits(out, year);
  out.push_back(u'/');
  appendTwoDigits(out, month);
  out.push_back(u'/');
  appendTwoDigits(out, day);
  out.push_back(u' ');
  appendTwoDigits(out, hour);
  out.push_back(u':');
  appendTwoDigits(out, minute);
}

}  // namespace zevro
