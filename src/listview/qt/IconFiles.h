#pragma once
// The desktop program's side of the user's icons: the strip that goes with
// the tables in use, and the icon dialog's whole command up to the reload
// of the shown catalog.
//
//   window.setIcons(iconfiles::LoadIcons(program), program.icons());
//   if (iconfiles::DispIconList(program, strip, &window)) …
#include <QImage>

#include "media/Program.h"
#include "platform/Ui.h"

class QWidget;

namespace zevro::iconfiles {

// Loads the tables (Program::LoadIcons) and answers the strip to draw them
// with: the user's picture, or the standard strip. A picture that cannot be
// read brings back the standard tables with the standard strip.
QImage LoadIcons(Program& program);

// MO_アイコン変更 without the reload: the dialog over working copies of the
// tables and of `strip`; after OK with a change the picture and the tables
// are stored and loaded again, and `strip` is the one now in use. True then.
bool DispIconList(Program& program, QImage& strip, QWidget* parent);

// MO_アイコン戻す after its question: the standard icons; the standard strip.
QImage useStandardIcons(Program& program);

}  // namespace zevro::iconfiles
