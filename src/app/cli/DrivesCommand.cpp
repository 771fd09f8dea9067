// zevro-cli drives [--json]: the drive letters as the program sees them, one
// line a letter that stands for a drive or folder present now:
//   C<TAB>3<TAB>HD<TAB><TAB>/
//   D<TAB>5<TAB>CD<TAB>GAMES<TAB>/media/kaori/GAMES
//   E<TAB>5<TAB>CD<TAB><TAB>                     (an optical drive with nothing in it)
// Fields: letter, drive type (2 removable, 3 fixed, 4 network, 5 CD-ROM,
// 6 RAM disk, 18 a changing drive), medium kind (FD, CD, HD), volume label,
// root folder. The letters come from the map file "drives.map" of the
// program folder (a medium seen for the first time is added to it); the
// types are those of the drive type table, merged as at every start of the
// program and written back to CATTYP.DAT.
//
// In the TAB form a tab or line break inside a label is shown as a blank;
// --json gives every field exactly:
//   [{"letter":"D","type":5,"kind":"CD","label":"GAMES","root":"/media/kaori/GAMES"}, …]
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "app/cli/TextOutput.h"
#include "core/DriveTypeTable.h"
#include "media/DriveInfo.h"
#include "platform/DriveMapFile.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

struct DriveLine {
  char letter;
  int type;
  Text kind;
  Text label;
  std::string root;  // native bytes; "" when the drive holds no medium
};

void printLines(std::ostream& out, const std::vector<DriveLine>& lines) {
  for (const DriveLine& d : lines)
    out << d.letter << '\t' << d.type << '\t' << toUtf8(d.kind) << '\t' << oneLineField(d.label) << '\t' << d.root
        << '\n';
}

void printJson(std::ostream& out, const std::vector<DriveLine>& lines) {
  out << '[';
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const DriveLine& d = lines[i];
    out << (i == 0 ? "\n" : ",\n") << "{\"letter\":\"" << d.letter << "\",\"type\":" << d.type
        << ",\"kind\":" << jsonString(d.kind) << ",\"label\":" << jsonString(d.label)
        << ",\"root\":" << jsonString(cp932::fromNativeName(d.root)) << '}';
  }
  out << "\n]\n";
}

int runDrives(Context& context) {
  bool json = false;
  for (const std::string& arg : context.args) {
    if (arg != "--json")
      return usageError(context, "drives", isOption(arg) ? unknownOption(arg) : "no arguments but --json");
    json = true;
  }

  Session session(context, "zevro-cli: drives: ");
  Program& program = session.program;
  Drives& drives = program.drives();
  if (const IoError error = drives.stateError()) {
    context.err << session.prefix << "cannot write " << (context.programDir / DriveMapFile::FileName).native() << ": "
                << error.text << '\n';
    return ExitError;
  }
  DriveInfo& info = program.driveInfo();
  if (const IoError& error = program.driveTypesError()) {
    context.err << session.prefix << "cannot write " << (context.programDir / DriveTypeTable::FileName).native() << ": "
                << error.text << '\n';
    return ExitError;
  }

  std::vector<DriveLine> lines;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const int present = drives.driveType(letter);
    if (present == drivetype::Unknown || present == drivetype::NoRoot) continue;
    const Text drive{static_cast<char16_t>(letter), u':'};
    const std::optional<NativePath> root = drives.root(letter);
    lines.push_back(DriveLine{letter, program.driveTypes().stored(letter), info.DriveKind(drive),
                              info.VolumeLabel(drive), root ? root->native() : std::string()});
  }
  if (json)
    printJson(context.out, lines);
  else
    printLines(context.out, lines);
  return ExitOk;
}

constexpr const char* Help =
    "The drive letters as the program sees them, one a line: letter, drive\n"
    "type (2 removable, 3 fixed, 4 network, 5 CD-ROM, 6 RAM disk), medium kind\n"
    "(FD, CD, HD), volume label and root folder, separated by TABs. Letters\n"
    "come from drives.map in the program folder.\n"
    "\n"
    "Options:\n"
    "  --json     a JSON array of {\"letter\", \"type\", \"kind\", \"label\", \"root\"}\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  listed\n"
    "  2  bad input, or drives.map or CATTYP.DAT cannot be written\n";

}  // namespace

Command drivesCommand() {
  return {"drives", "drives [--json]", "the drive letters: letter, type, kind, label, root", runDrives, Help};
}

}  // namespace zevro::cli
