#pragma once
// The version window: the program's name, "Ver." and the version text, an
// OK button that closes it and a button for the system information (which
// this desktop has no program for: the platform's message box says so).
#include <QDialog>

#include "text/Text.h"

namespace zevro {

class Ui;

class VersionForm : public QDialog {
  Q_OBJECT
public:
  // version: like u"0.1"; ui: where the system-information answer goes.
  VersionForm(TextView version, Ui& ui, QWidget* parent = nullptr);

private:
  void showSystemInfo();

  Ui& ui_;
};

}  // namespace zevro
