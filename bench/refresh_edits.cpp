// Gives a catalog the hand edits the refresh timings keep (bench/refresh_timings.sh):
// EDITS file rows spread evenly over the list get a comment of their own
// (flag 2), every fifth of them a date as well (flag 6).
//
//   refresh_edits LISTFILE EDITS
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

int main(int argc, char** argv) {
  using namespace zevro;
  if (argc != 3) {
    std::fprintf(stderr, "usage: refresh_edits LISTFILE EDITS\n");
    return 2;
  }
  const NativePath file = argv[1];
  const int edits = std::atoi(argv[2]);
  LinuxFileSystem files;
  RowStore list;
  listfile::ReadResult read = listfile::read(files, file, list);
  if (!read.loaded()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  std::vector<int> rows;
  for (int r = 1; r < list.rowCount(); ++r)
    if (!catalog::isFolderLike(list.kind(r))) rows.push_back(r);
  const std::size_t step = rows.size() / static_cast<std::size_t>(edits > 0 ? edits : 1);
  std::vector<Text> comments;
  std::vector<RowStore::FieldText> commentRows, dateRows, flagRows;
  for (std::size_t i = 0, n = 0; i < rows.size() && n < static_cast<std::size_t>(edits); i += step, ++n)
    comments.push_back(u"hand note " + ascii(std::to_string(n)));
  for (std::size_t i = 0, n = 0; i < rows.size() && n < comments.size(); i += step, ++n) {
    const bool dated = n % 5 == 0;
    commentRows.push_back({rows[i], comments[n]});
    if (dated) dateRows.push_back({rows[i], u"99/12/31"});
    flagRows.push_back({rows[i], dated ? u"6" : u"2"});
  }
  if (!list.setFieldOfRows(catalog::FieldComment, commentRows) || !list.setFieldOfRows(catalog::FieldDate, dateRows) ||
      !list.setFieldOfRows(catalog::FieldFlags, flagRows)) {
    std::fprintf(stderr, "out of memory\n");
    return 2;
  }
  const std::optional<std::string> bytes = listfile::build(list, read.header);
  if (!bytes || files.writeFileAtomic(file, *bytes)) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 2;
  }
  std::printf("%zu rows edited\n", commentRows.size());
  return 0;
}
