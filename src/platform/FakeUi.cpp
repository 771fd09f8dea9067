#include "platform/FakeUi.h"

namespace zevro {

namespace {
template <typename T>
T takeFront(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T value = queue.front();
  queue.pop_front();
  return value;
}
}  // namespace

int FakeUi::showMessage(TextView text, int flags, TextView title) {
  calls.push_back({Kind::Message, Text(text), flags, Text(title)});
  int fallback = (flags & mb::ButtonMask) == mb::Ok ? AnswerOk : fallbackAnswer;
  return takeFront(answers, fallback);
}

int FakeUi::systemMessage(TextView text, int flags, TextView title) {
  calls.push_back({Kind::SystemMessage, Text(text), flags, Text(title)});
  int fallback = (flags & mb::ButtonMask) == mb::Ok ? AnswerOk : fallbackAnswer;
  return takeFront(answers, fallback);
}

Text FakeUi::inputLine(TextView prompt, TextView title, TextView /*defaultText*/) {
  calls.push_back({Kind::Input, Text(prompt), 0, Text(title)});
  return takeFront(inputs, Text());
}

void FakeUi::beep() { calls.push_back({Kind::Beep, Text(), 0, Text()}); }

Text FakeUi::browseForFolder(TextView initialFolder, TextView title) {
  calls.push_back({Kind::BrowseFolder, Text(initialFolder), 0, Text(title)});
  return takeFront(folders, Text());
}

Text FakeUi::chooseSaveFile(const SaveFileRequest& request) {
  calls.push_back({Kind::SaveFile, request.fileName, request.firstFilter, request.title});
  saveRequests.push_back(request);
  return takeFront(saveFiles, Text());
}

bool FakeUi::openWithDefault(const std::string& nativePath) {
  calls.push_back({Kind::OpenDefault, Text(nativePath.begin(), nativePath.end()), 0, Text()});
  return openSucceeds;
}

std::optional<std::uint32_t> FakeUi::chooseColour(std::uint32_t initial) {
  calls.push_back({Kind::ChooseColour, Text(), 0, Text()});
  colourStarts.push_back(initial);
  if (colours.empty()) return std::nullopt;
  const std::uint32_t chosen = colours.front();
  colours.pop_front();
  return chosen;
}

std::optional<FontChoice> FakeUi::chooseFont(const FontChoice& initial) {
  calls.push_back({Kind::ChooseFont, initial.name, 0, Text()});
  fontStarts.push_back(initial);
  if (fonts.empty()) return std::nullopt;
  FontChoice chosen = fonts.front();
  fonts.pop_front();
  return chosen;
}

Text FakeUi::chooseFileToOpen(const FileOpenRequest& request) {
  calls.push_back({Kind::ChooseFile, request.initialFolder, 0, request.title});
  fileRequests.push_back(request);
  return takeFront(chosenFiles, Text());
}

int FakeUi::count(Kind kind) const {
  int n = 0;
  for (const Call& c : calls)
    if (c.kind == kind) ++n;
  return n;
}

std::vector<Text> FakeUi::messages() const {
  std::vector<Text> out;
  for (const Call& c : calls)
    if (c.kind == Kind::Message || c.kind == Kind::SystemMessage) out.push_back(c.text);
  return out;
}

}  // namespace zevro
