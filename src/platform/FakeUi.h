#pragma once
// A scripted Ui for tests: every call is recorded, answers come from queues
// filled beforehand. A message or input with no scripted answer gets the
// fallback (AnswerCancel / empty text), so a test that forgot to script a
// question sees the cautious answer rather than a hang.
#include <deque>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace zevro {

class FakeUi : public Ui {
public:
  enum class Kind { Message, SystemMessage, Input, Beep, BrowseFolder, OpenDefault, ChooseColour, ChooseFont, SaveFile,
                    ChooseFile };
  struct Call {
    Kind kind;
    Text text;  // message text, prompt, initial folder or path
    int flags = 0;
    Text title;
  };

  std::deque<int> answers;   // for showMessage and systemMessage
  std::deque<Text> inputs;   // for inputLine
  std::deque<Text> folders;  // for browseForFolder
  // The choosers: off, every click that would open one beeps. An empty
  // queue answers Cancel.
  bool choosers = true;
  std::deque<std::uint32_t> colours;        // for chooseColour
  std::deque<FontChoice> fonts;             // for chooseFont
  std::vector<std::uint32_t> colourStarts;  // the colour each chooser opened at
  std::vector<FontChoice> fontStarts;       // the font each chooser opened at
  std::deque<Text> saveFiles;  // for chooseSaveFile
  std::vector<SaveFileRequest> saveRequests;
  std::deque<Text> chosenFiles;  // for chooseFileToOpen
  std::vector<FileOpenRequest> fileRequests;
  int fallbackAnswer = AnswerCancel;
  bool openSucceeds = true;
  Text clipboard;

  std::vector<Call> calls;

  int showMessage(TextView text, int flags, TextView title) override;
  int systemMessage(TextView text, int flags, TextView title) override;
  Text inputLine(TextView prompt, TextView title, TextView defaultText) override;
  void beep() override;
  Text browseForFolder(TextView initialFolder, TextView title) override;
  void setClipboardText(TextView text) override { clipboard = Text(text); }
  Text clipboardText() override { return clipboard; }
  bool openWithDefault(const std::string& nativePath) override;
  bool hasChoosers() const override { return choosers; }
  std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
  std::optional<FontChoice> chooseFont(const FontChoice& initial) override;
  Text chooseSaveFile(const SaveFileRequest& request) override;
  Text chooseFileToOpen(const FileOpenRequest& request) override;

  // How many calls of a kind were made.
  int count(Kind kind) const;
  // The texts of all message-like calls (Message and SystemMessage), in order.
  std::vector<Text> messages() const;
};

}  // namespace zevro
