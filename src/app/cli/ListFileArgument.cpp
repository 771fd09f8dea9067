#include "app/cli/ListFileArgument.h"

#include <ostream>

#include "app/cli/Session.h"
#include "core/CatalogList.h"
#include "core/OptionStore.h"
#include "core/Startup.h"
#include "text/Cp932.h"
#include "text/Utf8.h"

namespace zevro::cli {

namespace {

// A bare name is looked for in the catalog folder first (ignoring case);
// anything else, or a name not found there, is a path.
NativePath locate(Session& session, const std::string& argument) {
  if (argument.find('/') != std::string::npos) return argument;
  session.program.loadOptions();  // without options the default folder holds
  const NativePath folder = session.program.chooseCatalogFolder();
  if (std::optional<std::string> name = session.files.resolveName(folder, argument)) return folder / *name;
  return argument;
}

}  // namespace

NativePath locateListFile(Session& session, const std::string& argument) { return locate(session, argument); }

std::optional<std::string> listFileArgument(Context& context, const char* command,
                                            std::initializer_list<const char*> flags, std::vector<std::string>& given) {
  std::optional<std::string> file;
  bool optionsEnded = false;
  for (const std::string& arg : context.args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && isOption(arg)) {
      bool known = false;
      for (const char* flag : flags) known = known || arg == flag;
      if (!known) {
        usageError(context, command, unknownOption(arg));
        return std::nullopt;
      }
      given.push_back(arg);
      continue;
    }
    if (file) {
      usageError(context, command, "give one list file");
      return std::nullopt;
    }
    file = arg;
  }
  if (!file) usageError(context, command, "which list file?");
  return file;
}

int loadListFileArgument(Context& context, const char* command, const std::string& argument, LoadedListFile& loaded) {
  Session session(context, "zevro-cli: " + std::string(command) + ": ");
  FileSystem& files = session.files;
  loaded.path = locate(session, argument);
  const std::string where = "zevro-cli: " + std::string(command) + ": " + argument + ": ";
  if (!files.stat(loaded.path)) {
    context.err << where << "no such list file\n";
    return ExitError;
  }
  catalog::makeCatalogList(loaded.list);
  const listfile::ReadResult result = listfile::read(files, loaded.path, loaded.list);
  loaded.header = result.header;
  switch (result.status) {
    case listfile::ReadStatus::Ok: return ExitOk;
    case listfile::ReadStatus::Truncated:
      context.err << where << "truncated list file, read as far as it goes\n";
      return ExitOk;
    case listfile::ReadStatus::OldLayout:
      context.err << where << "list file of the old layout \"AX\", not converted yet\n";
      return ExitError;
    case listfile::ReadStatus::CannotRead: context.err << where << result.error.text << '\n'; return ExitError;
    case listfile::ReadStatus::Damaged: break;
  }
  context.err << where << "not a valid list file\n";
  return ExitError;
}

std::string escapedField(TextView text) {
  // A lone surrogate (a byte of a name that was not UTF-8) has no UTF-8 of
  // its own; it is shown as the escape the list file stores for it, so that
  // different names never print alike.
  Text shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool pair = utf::isHighSurrogate(c) && i + 1 < text.size() && utf::isLowSurrogate(text[i + 1]);
    if (pair) {
      shown += c;
      shown += text[++i];
    } else if (utf::isSurrogate(c)) {
      static constexpr char16_t hex[] = u"0123456789ABCDEF";
      shown += u"&#x";
      for (int shift = 12; shift >= 0; shift -= 4) shown += hex[(c >> shift) & 0xF];
      shown += u';';
    } else {
      shown += c;
    }
  }
  std::string out;
  for (char c : toUtf8(shown)) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace zevro::cli
