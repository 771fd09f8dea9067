#pragma once
// When two catalog rows are the same file: their names agree once folded as
// the search folds case and width, and so do their sizes (and, when asked,
// their date texts). No content is read; the catalogs are all there is.
//
//   SameFileKey key(SameFileKey::By::NameSize);
//   key.fold("ＡＢＣ.TXT")   -> u"ＡＢＣ．ＴＸＴ"   (CP932 bytes in, folded text out)
//   key.fold("abc.txt")     -> u"ＡＢＣ．ＴＸＴ"
//   key.hashOf(row)         -> the same 64-bit number for both rows of size 1234
//   key.textOf(row)         -> u"ＡＢＣ．ＴＸＴ\x00" u"1234": the exact key, for tables
#include <cstdint>
#include <string_view>

#include "compare/FileRows.h"
#include "text/Text.h"

namespace zevro {

class SameFileKey {
public:
  enum class By {
    NameSize,      // folded name and size
    NameSizeDate,  // and the date text as written ("99/12/31 23:55")
  };

  explicit SameFileKey(By by) : by_(by) {}
  By by() const { return by_; }

  // The row's name folded to full width and upper case (the buffer is
  // reused by the next call).
  const Text& fold(std::string_view nameBytes);

  // A hash of the whole key; rows of one key always hash alike.
  std::uint64_t hashOf(const FileRow& row);

  // The whole key as one text: folded name, code 0, size digits and, by
  // date, code 0 and the date (the buffer is reused by the next call).
  const Text& textOf(const FileRow& row);

private:
  By by_;
  Text decoded_;
  Text folded_;
  Text key_;
};

}  // namespace zevro
