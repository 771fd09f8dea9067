// zevro-cli options get KEY / options set KEY VALUE: one option of the option
// store ZEVRO32.Opt in the program folder, as the desktop program reads and
// writes it. Keys compare without case ("listinterleave" is ListInterleave).
//
// get prints the value the program would use, the table's default when the
// file has none:
//   options get ListInterleave   -> 2
//   options get ColorF           -> ON
//   options get SelBackCol       -> 0x8000000D
//   options get FontSize         -> 9.75
// A key whose default the program works out at run time (a window's designed
// size, the catalog folder …) and that has no value prints nothing and exits
// with 1; so does a key the program does not know and the file lacks.
//
// set stores a value in the key's form: numbers and booleans as numbers
// ("5" is stored " 5"), on/off words as "ON"/"OFF", colours as decimal or
// 0x-hexadecimal numbers. Only keys of the program's table can be set. The
// rest of the file stays as it was; an unchanged value leaves the file alone.
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>

#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "core/OptionKeys.h"
#include "core/OptionValue.h"
#include "core/Startup.h"
#include "core/Strings.h"

namespace zevro::cli {

namespace {

constexpr const char* Usage = "options get KEY | options set KEY VALUE";

bool isDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A whole decimal number with an optional sign, within the range of int.
bool parseNumber(const std::string& text, std::int64_t& n) {
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  if (!isDigits(digits) || digits.size() > 10) return false;
  n = optval::leadingNumber(fromUtf8(text));
  return n >= INT32_MIN && n <= INT32_MAX;
}

// Decimal (negative for the signed form older versions wrote) or "0x" hexadecimal.
bool parseColour(const std::string& text, std::uint32_t& colour) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() > 10) return false;
    std::uint32_t value = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
      const char c = text[i];
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) return false;
      value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    colour = value;
    return true;
  }
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  if (!isDigits(digits) || digits.size() > 10) return false;
  const std::int64_t n = optval::leadingNumber(fromUtf8(text));
  if (n < INT32_MIN || n > UINT32_MAX) return false;
  colour = static_cast<std::uint32_t>(n);
  return true;
}

std::string hexColour(std::uint32_t colour) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%06X", colour);
  return buffer;
}

// The value as the program reads it, for a key of the table.
std::string valueOf(const OptionStore& store, const opt::OptionKey& key) {
  switch (key.type) {
    case opt::OptionType::Text: return toUtf8(opt::readText(store, key.name));
    case opt::OptionType::Number: return std::to_string(opt::readNumber(store, key.name));
    case opt::OptionType::Boolean: return opt::readBoolean(store, key.name) ? "-1" : "0";
    case opt::OptionType::OnOff: return toUtf8(optval::onOffText(opt::readOnOff(store, key.name)));
    case opt::OptionType::Colour: return hexColour(opt::readColour(store, key.name));
  }
  return {};
}

int get(Context& context, OptionStore& store, const std::string& name) {
  const Text key = fromUtf8(name);
  const opt::OptionKey* entry = opt::findOptionKey(key);
  if (!entry) {
    if (!store.has(key)) return ExitNone;
    context.out << toUtf8(store.readText(key, u"")) << '\n';
    return ExitOk;
  }
  if (entry->from == opt::DefaultFrom::Caller && !store.has(entry->name)) return ExitNone;
  context.out << valueOf(store, *entry) << '\n';
  return ExitOk;
}

// Stores the value in the key's form; false with a message when it does not fit.
bool put(Context& context, OptionStore& store, const opt::OptionKey& key, const std::string& value) {
  const auto bad = [&](const char* what) {
    context.err << "zevro-cli: options: " << toUtf8(key.name) << " needs " << what << ", not \"" << value << "\"\n";
    return false;
  };
  std::int64_t n = 0;
  std::uint32_t colour = 0;
  switch (key.type) {
    case opt::OptionType::Text: store.writeText(key.name, fromUtf8(value)); return true;
    case opt::OptionType::Number:
      if (!parseNumber(value, n)) return bad("a number");
      store.writeNumber(key.name, n);
      return true;
    case opt::OptionType::Boolean:
      if (!parseNumber(value, n)) return bad("a number (-1 or 0)");
      store.writeBoolean(key.name, n != 0);
      return true;
    case opt::OptionType::OnOff:
      if (asciiUpper(fromUtf8(value)) != u"ON" && asciiUpper(fromUtf8(value)) != u"OFF") return bad("ON or OFF");
      store.writeOnOff(key.name, optval::isOn(fromUtf8(value)));
      return true;
    case opt::OptionType::Colour:
      if (!parseColour(value, colour)) return bad("a colour number");
      store.writeColour(key.name, colour);
      return true;
  }
  return false;
}

int set(Context& context, OptionStore& store, const std::string& name, const std::string& value) {
  const opt::OptionKey* entry = opt::findOptionKey(fromUtf8(name));
  if (!entry) {
    context.err << "zevro-cli: options: unknown option key " << name << '\n';
    return ExitError;
  }
  if (!put(context, store, *entry, value)) return ExitError;
  if (IoError error = store.save()) {
    context.err << "zevro-cli: cannot write " << store.path().native() << ": " << error.text << '\n';
    return ExitError;
  }
  return ExitOk;
}

int runOptions(Context& context) {
  const std::vector<std::string>& args = context.args;
  const bool isGet = args.size() == 2 && args[0] == "get";
  const bool isSet = args.size() == 3 && args[0] == "set";
  // A value may be negative ("-1"): only the words before it can be options.
  for (std::size_t i = 0; i < args.size() && i < 2; ++i)
    if (isOption(args[i])) return usageError(context, "options", unknownOption(args[i]));
  if (!isGet && !isSet) return usageError(context, "options", std::string("usage: ") + Usage);

  Session session(context, "zevro-cli: ");
  if (!session.loadOptions()) return ExitError;
  OptionStore& store = session.program.options();
  return isGet ? get(context, store, args[1]) : set(context, store, args[1], args[2]);
}

constexpr const char* Help =
    "One option of the option store ZEVRO32.Opt in the program folder, as the\n"
    "desktop program reads and writes it. Keys compare without case.\n"
    "\n"
    "  get KEY        prints the value the program would use (the default when\n"
    "                 the file has none)\n"
    "  set KEY VALUE  stores a value in the key's form: numbers and booleans as\n"
    "                 numbers (-1 on, 0 off), on/off words as ON or OFF, colours\n"
    "                 as decimal or 0x-hexadecimal numbers\n"
    "\n"
    "Options:\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  printed, or stored\n"
    "  1  get: the key has no value the tool can tell (unknown, or worked out\n"
    "     by the desktop program at run time)\n"
    "  2  bad input (an unknown key for set, a value of the wrong form), or the\n"
    "     option store cannot be read or written\n";

}  // namespace

Command optionsCommand() { return {"options", Usage, "read or change one option of ZEVRO32.Opt", runOptions, Help}; }

}  // namespace zevro::cli
