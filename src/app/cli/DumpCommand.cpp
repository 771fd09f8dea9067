// zevro-cli dump FILE: every stored row of a list file, row 0 (the title
// line) first, one line each:
//   level<TAB>kind<TAB>treeflags<TAB>field0<TAB>…<TAB>field7
//   0	3	1	MYDISC	ゲーム集		1,234
//   2	6	0	README.TXT	Read me\r\nfirst	24/01/31 12:00	1,234	0
// Numbers are decimal; fields are UTF-8 with "\" TAB CR LF written as
// "\\" "\t" "\r" "\n", so that a row is always one line.
//
// --json writes one JSON object a line with the same fields, texts exact:
//   {"level":2,"kind":6,"treeflags":0,"field0":"README.TXT","field1":"Read me\r\nfirst",…}
#include <array>
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ListFileArgument.h"
#include "app/cli/TextOutput.h"
#include "core/CatalogList.h"

namespace zevro::cli {

namespace {

void appendTabLine(const RowStore& list, int row, const std::array<TextView, catalog::FieldCount>& fields,
                   std::string& line) {
  line += std::to_string(list.level(row)) + '\t' + std::to_string(list.kind(row)) + '\t' +
          std::to_string(list.treeFlags(row));
  for (TextView field : fields) {
    line += '\t';
    line += escapedField(field);
  }
}

void appendJsonLine(const RowStore& list, int row, const std::array<TextView, catalog::FieldCount>& fields,
                    std::string& line) {
  line += "{\"level\":" + std::to_string(list.level(row)) + ",\"kind\":" + std::to_string(list.kind(row)) +
          ",\"treeflags\":" + std::to_string(list.treeFlags(row));
  for (std::size_t k = 0; k < fields.size(); ++k) {
    line += ",\"field" + std::to_string(k) + "\":";
    line += jsonString(fields[k]);
  }
  line += '}';
}

int runDump(Context& context) {
  std::vector<std::string> flags;
  const std::optional<std::string> file = listFileArgument(context, "dump", {"--json"}, flags);
  if (!file) return ExitError;
  const bool json = !flags.empty();
  LoadedListFile loaded;
  if (int status = loadListFileArgument(context, "dump", *file, loaded)) return status;
  const RowStore& list = loaded.list;
  std::array<TextView, catalog::FieldCount> fields;
  std::string line;
  for (int row = 0; row < list.rowCount(); ++row) {
    fields.fill(TextView());
    list.fieldsOf(row, fields);
    line.clear();
    if (json)
      appendJsonLine(list, row, fields, line);
    else
      appendTabLine(list, row, fields, line);
    line += '\n';
    context.out << line;
  }
  return ExitOk;
}

constexpr const char* Help =
    "Every stored row of a list file, the title line first, one a line: level,\n"
    "kind, tree flags and fields 0 to 7, separated by TABs. In the fields \"\\\",\n"
    "TAB, CR and LF are written as \"\\\\\", \"\\t\", \"\\r\" and \"\\n\". FILE is a name in\n"
    "the catalog folder (any case) or a path.\n"
    "\n"
    "Options:\n"
    "  --json     one JSON object a line instead, with the keys level, kind,\n"
    "             treeflags and field0 to field7 (texts exact)\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  written (a truncated file as far as it goes, with a warning)\n"
    "  2  bad input: no such file, not a list file, or of the old layout\n";

}  // namespace

Command dumpCommand() {
  return {"dump", "dump [--json] FILE", "every row of a list file: level, kind, tree flags and fields 0 to 7", runDump,
          Help};
}

}  // namespace zevro::cli
