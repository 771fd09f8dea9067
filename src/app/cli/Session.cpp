#include "app/cli/Session.h"

#include <ostream>
#include <utility>

namespace zevro::cli {

Session::Session(Context& c, std::string p, Text inputAnswer)
    : context(c), prefix(std::move(p)), ui(c.err, prefix, std::move(inputAnswer)), program(platform, c.programDir) {}

bool Session::loadOptions() {
  if (IoError error = program.loadOptions()) {
    context.err << prefix << "cannot read " << program.options().path().native() << ": " << error.text << '\n';
    return false;
  }
  return true;
}

}  // namespace zevro::cli
