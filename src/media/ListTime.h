#pragma once
// The date and time a catalog row shows for a file: its last-write time to
// the minute, in the catalogs' own zone. By default that is UTC shifted by a
// fixed nine hours (so catalogs agree with those made on Japanese machines,
// whatever zone this machine is in); an option picks the machine's zone.
//
//   2020-12-31 16:30:59 UTC, Japan   -> 2021-01-01 01:30 -> u"21/01/01 01:30"
//   2020-12-31 14:59:00 UTC, Japan   -> u"20/12/31 23:59"
//   2024-02-28 15:00:00 UTC, Japan   -> u"24/02/29 00:00"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class ListTime {
public:
  enum class Zone { Japan, Machine };

  // The nine hours of the fixed shift.
  static constexpr int JapanOffsetSeconds = 9 * 3600;

  // The time in the zone, seconds dropped. Times before 1970 work too
  // (a file dated 1601 gives year 1601). Machine: the TZ rules of this
  // process (localtime_r).
  static ListTime of(FileTime time, Zone zone);

  // "YY/MM/DD hh:mm", two digits each, 14 characters: u"21/01/01 01:30".
  Text rowText() const;
  // The same written over `out` (its memory reused).
  void writeRowText(Text& out) const;

  int year = 1970;  // full year, like 2021
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;     // 0..23
  int minute = 0;   // 0..59
};

}  // namespace zevro
