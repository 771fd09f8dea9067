// zevro-cli diff FILE1 FILE2: what changed from the catalog FILE1 to FILE2,
// one line a file, sorted by path:
//   +<TAB>path<TAB>size<TAB>date                          added
//   -<TAB>path<TAB>size<TAB>date                          removed
//   ~<TAB>path<TAB>size<TAB>date<TAB>old size<TAB>old date  changed
//   ><TAB>path<TAB>size<TAB>date<TAB>old path              moved
// Exit status 0 when something changed, 1 when nothing did, 2 on bad input.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/CompareArguments.h"
#include "app/cli/TextOutput.h"
#include "compare/CatalogDiff.h"

namespace zevro::cli {

namespace {

constexpr const char* Prefix = "zevro-cli: diff: ";

void printChanges(std::ostream& out, const std::vector<CatalogDiff::Change>& changes, bool json) {
  using Kind = CatalogDiff::Kind;
  std::string line;
  for (const CatalogDiff::Change& c : changes) {
    line.clear();
    const char mark = CatalogDiff::markOf(c.kind);
    if (json) {
      line += "{\"change\":\"";
      line += mark;
      line += "\",\"path\":" + jsonString(c.path) + ",\"size\":" + std::to_string(c.size) +
              ",\"date\":" + jsonString(c.date);
      if (c.kind == Kind::Moved) line += ",\"oldPath\":" + jsonString(c.oldPath);
      if (c.kind == Kind::Changed)
        line += ",\"oldSize\":" + std::to_string(c.oldSize) + ",\"oldDate\":" + jsonString(c.oldDate);
      line += '}';
    } else {
      line += mark;
      line += '\t' + oneLineField(c.path) + '\t' + std::to_string(c.size) + '\t' + oneLineField(c.date);
      if (c.kind == Kind::Moved) line += '\t' + oneLineField(c.oldPath);
      if (c.kind == Kind::Changed) line += '\t' + std::to_string(c.oldSize) + '\t' + oneLineField(c.oldDate);
    }
    line += '\n';
    out << line;
  }
}

int runDiff(Context& context) {
  CompareArguments a;
  const std::string wrong =
      parseCompareArguments(context.args, compareoption::By | compareoption::Members | compareoption::Json, a);
  if (!wrong.empty()) return usageError(context, "diff", wrong);
  if (a.files.size() != 2) return usageError(context, "diff", "give two list files");
  Session session(context, Prefix);
  FileView before;
  FileView after;
  Text name;
  if (const int status = viewListFile(session, a.files[0], before, name); status != ExitOk) return status;
  if (const int status = viewListFile(session, a.files[1], after, name); status != ExitOk) return status;
  const std::vector<CatalogDiff::Change> changes =
      CatalogDiff::compare(before.bytes(), after.bytes(), {a.filters.members, a.filters.by});
  printChanges(context.out, changes, a.json);
  return changes.empty() ? ExitNone : ExitOk;
}

constexpr const char* Help =
    "Tells what changed from the catalog FILE1 to FILE2 (two readings of one\n"
    "medium, or any two catalogs), file by file, from the catalogs alone. Rows\n"
    "are matched by row path without regard to letter case. Each line starts\n"
    "with the change, then the row path, size in bytes and date (TABs between):\n"
    "  +  added\n"
    "  -  removed\n"
    "  ~  changed: the same path with another size or date; the old size and\n"
    "     date follow\n"
    "  >  moved: the same file (name and size) under another path; the old path\n"
    "     follows. A removal and an addition become a move when their key is\n"
    "     removed once and added once.\n"
    "Lines are sorted by path. FILE1 and FILE2 are list file names in the\n"
    "catalog folder or paths.\n"
    "\n"
    "Options:\n"
    "  --by name,size|name,size,date   what a moved file keeps (default name,size)\n"
    "  --members             files listed inside archives too\n"
    "  --json                one JSON object a line with the keys change, path,\n"
    "                        size, date, and oldPath (moved) or oldSize and\n"
    "                        oldDate (changed)\n"
    "  -h, --help            this text\n"
    "\n"
    "Exit status:\n"
    "  0  something changed\n"
    "  1  nothing changed\n"
    "  2  bad input or a FILE that is no list file\n";

}  // namespace

Command diffCommand() {
  return {"diff", "diff FILE1 FILE2 [OPTIONS]", "what changed between two catalogs: --by, --members, --json",
          runDiff, Help};
}

}  // namespace zevro::cli
