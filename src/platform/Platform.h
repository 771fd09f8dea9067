#pragma once
// The operating-system services one run of the program uses, handed to the
// logic as one object so that tests can pass fakes. Grows as subsystems need
// more of the platform (drives, clock …).
#include "platform/FileSystem.h"
#include "platform/Ui.h"

namespace zevro {

struct Platform {
  FileSystem& files;
  Ui& ui;
};

}  // namespace zevro
