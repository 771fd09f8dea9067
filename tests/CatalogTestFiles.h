#pragma once
// Fixtures for the tests of the catalog folder's files: the bytes of small
// list files made by hand, so that a test controls every byte of the title
// line. Folders come from TempFolder.h.
#include <string>

#include "text/Cp932.h"
#include "text/Text.h"

namespace zevro::testfiles {

// A current-layout list file: "BX", 62 header characters, a heap whose first
// record is the title line (label, title) and one file row, the end marker.
inline std::string currentListFile(TextView label, TextView title) {
  std::string bytes = "BX" + std::string(62, '0');
  Text heap = u"\x10" + Text(label) + u"\x11" + Text(title) +
              u"\x12\x13"
              u"1,234\x14"
              u"0";
  heap +=
      u"\x10README.TXT\x11\x12\x13"
      u"12\x14"
      u"0";
  heap += char16_t(0);
  return bytes + cp932::encode(heap);
}

// An old-layout list file: "AX", 19 header characters, records introduced
// by the marker code 1 with fields separated by code 2.
inline std::string oldListFile(TextView label, TextView title) {
  std::string bytes = "AX" + std::string(19, '0');
  Text heap = u"\x01" + Text(label) + u"\x02" + Text(title) +
              u"\x02\x02"
              u"1,234";
  heap +=
      u"\x01README.TXT\x02\x02\x02"
      u"12";
  heap += char16_t(0);
  return bytes + cp932::encode(heap);
}

}  // namespace zevro::testfiles
