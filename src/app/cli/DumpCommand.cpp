// zevro-cli dump FILE: every stored row of a list file, row 0 (the title
// line) first, one line each:
//   level<TAB>kind<TAB>treeflags<TAB>field0<TAB>…<TAB>field7
//   0	3	1	MYDISC	ゲーム集		1,234
//   2	6	0	README.TXT	Read me\r\nfirst	24/01/31 12:00	1,234	0
// Numbers are decimal; fields are UTF-8 with "\" TAB CR LF written as
// "\\" "\t" "\r" "\n", so that a row is always one line.
#include <array>
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ListFileArgument.h"
#include "core/CatalogList.h"

namespace zevro::cli {

namespace {

int runDump(Context& context) {
  LoadedListFile loaded;
  if (int status = loadListFileArgument(context, "dump", loaded)) return status;
  const RowStore& list = loaded.list;
  std::array<TextView, catalog::FieldCount> fields;
  std::string line;
  for (int row = 0; row < list.rowCount(); ++row) {
    fields.fill(TextView());
    list.fieldsOf(row, fields);
    line = std::to_string(list.level(row)) + '\t' + std::to_string(list.kind(row)) + '\t' +
           std::to_string(list.treeFlags(row));
    for (TextView field : fields) {
      line += '\t';
      line += escapedField(field);
    }
    line += '\n';
    context.out << line;
  }
  return ExitOk;
}

}  // namespace

Command dumpCommand() {
  return {"dump", "dump FILE", "every row of a list file: level, kind, tree flags and fields 0 to 7", runDump};
}

}  // namespace zevro::cli
