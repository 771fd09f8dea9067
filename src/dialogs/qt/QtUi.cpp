#include "dialogs/qt/QtUi.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "dialogs/ApplicationTitle.h"
#include "dialogs/MessageButtons.h"
#include "dialogs/MessageMarkup.h"
#include "dialogs/qt/InpBoxForm.h"
#include "dialogs/qt/MsgBoxForm.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

// CR, LF and CR LF all break a line in the platform's box.
QString withNewlines(TextView text) {
  QString s = toQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QMessageBox::Icon iconOf(int flags) {
  switch (flags & 0x70) {
    case mb::IconStop: return QMessageBox::Critical;
    case mb::IconQuestion: return QMessageBox::Question;
    case mb::IconExclamation: return QMessageBox::Warning;
    case mb::IconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButton standardOf(MessageButton b) {
  switch (b) {
    case MessageButton::Cancel: return QMessageBox::Cancel;
    case MessageButton::Yes: return QMessageBox::Yes;
    case MessageButton::No: return QMessageBox::No;
    case MessageButton::Ok: break;
  }
  return QMessageBox::Ok;
}

int answerOfStandard(int clicked) {
  switch (clicked) {
    case QMessageBox::Cancel: return AnswerCancel;
    case QMessageBox::Yes: return AnswerYes;
    case QMessageBox::No: return AnswerNo;
    default: return AnswerOk;
  }
}

// Players that take a WAV file as their only argument and return at once
// when started detached.
QString soundPlayer() {
  for (const char* name : {"pw-play", "paplay", "aplay"}) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!path.isEmpty()) return path;
  }
  return {};
}

}  // namespace

QtUi::QtUi(std::string soundFile) : soundFile_(std::move(soundFile)) {}

QWidget* QtUi::owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  if (mainWindow_ && mainWindow_->isVisible()) return mainWindow_;
  return nullptr;
}

int QtUi::showMessage(TextView text, int flags, TextView title) {
  if (QGuiApplication::primaryScreen() == nullptr) {
    // Without a screen to lay the box out on, the platform's box still tells
    // the user; a plain OK box has nothing to answer.
    const int answer = systemMessage(plainMessageText(text), flags, ApplicationTitle);
    return flags == 0 ? AnswerNone : answer;
  }
  return MsgBoxForm::ShowMessage(text, flags, title, owner(), [this] { beep(); });
}

int QtUi::systemMessage(TextView text, int flags, TextView title) {
  const ButtonSet set = buttonSetOf(flags);
  QMessageBox box(iconOf(flags), toQString(title.empty() ? ApplicationTitle : title), withNewlines(text),
                  QMessageBox::NoButton, owner());
  for (MessageButton b : buttonsOf(set)) box.addButton(standardOf(b));
  box.setDefaultButton(standardOf(focusButtonOf(flags)));
  // Esc and closing the box back out the same way as in the program's box.
  const int escape = escapeAnswerOf(set);
  box.setEscapeButton(box.button(escape == AnswerCancel ? QMessageBox::Cancel
                                 : escape == AnswerNo   ? QMessageBox::No
                                                        : QMessageBox::Ok));
  return answerOfStandard(box.exec());
}

Text QtUi::inputLine(TextView prompt, TextView title, TextView defaultText) {
  return InpBoxForm::InpLine(prompt, title, defaultText, 0, owner(), answerLineFont_);
}

void QtUi::beep() {
  if (!soundFile_.empty()) {
    const QString sound = QFile::decodeName(QByteArray::fromStdString(soundFile_));
    const QString player = QFileInfo::exists(sound) ? soundPlayer() : QString();
    if (!player.isEmpty() && QProcess::startDetached(player, {sound})) return;
  }
  QApplication::beep();
}

Text QtUi::browseForFolder(TextView initialFolder, TextView title) {
  const QString start = QFile::decodeName(QByteArray::fromStdString(cp932::toNativeName(initialFolder)));
  const QString chosen = QFileDialog::getExistingDirectory(owner(), toQString(title), start);
  if (chosen.isEmpty()) return {};
  return cp932::fromNativeName(QFile::encodeName(chosen).toStdString());
}

namespace {

// u"Text (TXT)|*.TXT|CSV (CSV)|*.CSV" -> {"Text (TXT) (*.TXT *.txt)", "CSV (CSV) (*.CSV *.csv)"}:
// a Linux file system tells the cases apart, so each pattern is offered in both.
QStringList nameFilters(TextView filters) {
  const QStringList parts = toQString(filters).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString pattern = parts[i + 1];
    QString patterns = pattern;
    if (pattern.toLower() != pattern) patterns += QLatin1Char(' ') + pattern.toLower();
    out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return out;
}

}  // namespace

Text QtUi::chooseSaveFile(const SaveFileRequest& request) {
  QFileDialog dialog(owner(), toQString(request.title));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QStringList filters = nameFilters(request.filters);
  dialog.setNameFilters(filters);
  if (request.firstFilter >= 0 && request.firstFilter < filters.size()) dialog.selectNameFilter(filters[request.firstFilter]);
  dialog.setDefaultSuffix(toQString(request.defaultExtension));
  const QString folder = QFile::decodeName(QByteArray::fromStdString(cp932::toNativeName(request.folder)));
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog.setDirectory(folder);
  dialog.selectFile(toQString(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return cp932::fromNativeName(QFile::encodeName(dialog.selectedFiles().front()).toStdString());
}

void QtUi::setClipboardText(TextView text) { QGuiApplication::clipboard()->setText(toQString(text)); }

Text QtUi::clipboardText() { return fromQString(QGuiApplication::clipboard()->text()); }

std::optional<std::uint32_t> QtUi::chooseColour(std::uint32_t initial) {
  QWidget* parent = owner();
  const QPalette palette = parent ? parent->palette() : QApplication::palette();
  const QColor chosen = QColorDialog::getColor(toQColor(initial, palette), parent);
  if (!chosen.isValid()) return std::nullopt;
  return fromQColor(chosen);
}

std::optional<FontChoice> QtUi::chooseFont(const FontChoice& initial) {
  QFont start(qtFamilyFor(initial.name));
  start.setPointSizeF(initial.size > 0 ? initial.size : 9.75);
  start.setBold(initial.bold);
  bool ok = false;
  // Only fonts that draw on the screen; the sizes are the caller's to limit,
  // the dialog cannot.
  const QFont chosen = QFontDialog::getFont(&ok, start, owner(), QString(), QFontDialog::ScalableFonts);
  if (!ok) return std::nullopt;
  return FontChoice{fontnames::storedNameFor(fromQString(chosen.family())), chosen.pointSizeF(), chosen.bold()};
}

bool QtUi::openWithDefault(const std::string& nativePath) {
  const QString path = QFile::decodeName(QByteArray::fromStdString(nativePath));
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString QtUi::qtFilter(TextView filter) {
  const QStringList parts = toQString(filter).split(u'|');
  QStringList pairs;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    if (patterns == QLatin1String("*.*")) patterns = QStringLiteral("*");
    pairs << parts[i] + QStringLiteral(" (") + patterns + u')';
  }
  return pairs.join(QStringLiteral(";;"));
}

Text QtUi::chooseFileToOpen(const FileOpenRequest& request) {
  const QString folder = QFile::decodeName(QByteArray::fromStdString(cp932::toNativeName(request.initialFolder)));
  const QString name = toQString(request.initialName);
  QFileDialog dialog(owner(), toQString(request.title), folder);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilter(qtFilter(request.filter));
  dialog.setDefaultSuffix(toQString(request.defaultExtension));
  if (!name.isEmpty()) dialog.selectFile(name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return cp932::fromNativeName(QFile::encodeName(dialog.selectedFiles().front()).toStdString());
}

}  // namespace zevro
