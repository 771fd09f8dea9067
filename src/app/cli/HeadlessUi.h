#pragma once
// The Ui of zevro-cli, which has nobody to ask: every message is one line on
// stderr after the command's prefix, markup removed ("|" and line breaks
// become blanks, colour and bold codes vanish):
//   "フォルダー \x08E:\\OLD\x07|に記録された…" -> "zevro-cli: read: フォルダー E:\OLD に記録された…"
// A question gets the cautious answer (Cancel, or No where there is no
// Cancel; a plain OK box gets OK), the input box the one answer the command
// line gave (like --title TEXT; empty when none was given), the folder
// chooser nothing. Beeps are silent.
#include <iosfwd>
#include <string>

#include "platform/Ui.h"

namespace zevro::cli {

class HeadlessUi : public Ui {
public:
  // prefix like "zevro-cli: read: ".
  HeadlessUi(std::ostream& err, std::string prefix, Text inputAnswer = {});

  int showMessage(TextView text, int flags, TextView title) override;
  int systemMessage(TextView text, int flags, TextView title) override;
  Text inputLine(TextView prompt, TextView title, TextView defaultText) override;
  void beep() override {}
  Text browseForFolder(TextView, TextView) override { return {}; }
  void setClipboardText(TextView text) override { clipboard_ = Text(text); }
  Text clipboardText() override { return clipboard_; }
  bool openWithDefault(const std::string&) override { return false; }

  // How many messages were shown.
  int messageCount() const { return messages_; }

  // The message as one plain line (see above).
  static std::string plainLine(TextView markup);

private:
  int report(TextView text, int flags);

  std::ostream& err_;
  std::string prefix_;
  Text inputAnswer_;
  Text clipboard_;
  int messages_ = 0;
};

}  // namespace zevro::cli
