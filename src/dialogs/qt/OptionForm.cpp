#include "dialogs/qt/OptionForm.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/qt/DialogSupport.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

constexpr int SwatchWidth = 40;
constexpr int SwatchHeight = 16;
constexpr int LevelColumns = 2;

QString indexedName(const char* control, int i) {
  return QString::fromLatin1(control) + u'(' + QString::number(i) + u')';
}

void fill(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
  QPalette p = w->palette();
  p.setColor(role, colour);
  w->setPalette(p);
}

}  // namespace

OptionForm::OptionForm(const ColourOptions& colours, Ui& ui, QWidget* owner) : QDialog(owner), logic_(colours, ui) {
  setObjectName(QStringLiteral("OptionForm"));
  setWindowTitle(toQString(OptionFormLogic::Caption));
  setFont(dialogFont());
  setWindowModality(Qt::ApplicationModal);

  auto* columns = new QHBoxLayout;
  auto* named = new QGridLayout;
  named->setHorizontalSpacing(8);
  named->setVerticalSpacing(4);
  for (int i = 0; i < ColourOptions::NamedCount; ++i) {
    auto* swatch = new QFrame(this);
    swatch->setObjectName(indexedName("COLDSP", i));
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch->setFixedSize(SwatchWidth, SwatchHeight);
    swatch->setAutoFillBackground(true);
    swatch->setCursor(Qt::PointingHandCursor);
    swatch->installEventFilter(this);
    auto* name = new QLabel(toQString(ColourOptions::named()[static_cast<std::size_t>(i)].caption), this);
    name->setObjectName(indexedName("COLNAM", i));
    name->setTextFormat(Qt::PlainText);
    name->setCursor(Qt::PointingHandCursor);
    name->setContentsMargins(2, 0, 2, 0);
    name->installEventFilter(this);
    named->addWidget(swatch, i, 0);
    named->addWidget(name, i, 1);
    swatches_[static_cast<std::size_t>(i)] = swatch;
    names_[static_cast<std::size_t>(i)] = name;
  }
  columns->addLayout(named);

  auto* frame = new QGroupBox(toQString(OptionFormLogic::LevelFrameCaption), this);
  frame->setObjectName(QStringLiteral("LVLFRM"));
  auto* frameLayout = new QVBoxLayout(frame);
  paper_ = new QFrame(frame);
  paper_->setObjectName(QStringLiteral("PAPBOX"));
  paper_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  paper_->setAutoFillBackground(true);
  auto* levels = new QGridLayout(paper_);
  levels->setHorizontalSpacing(24);
  levels->setVerticalSpacing(6);
  for (int level = 1; level <= ColourOptions::LevelCount; ++level) {
    auto* label = new QLabel(toQString(ColourOptions::levelCaption(level)), paper_);
    label->setObjectName(indexedName("LVLNAM", level));
    label->setTextFormat(Qt::PlainText);
    label->setCursor(Qt::PointingHandCursor);
    label->setContentsMargins(4, 1, 4, 1);
    label->installEventFilter(this);
    const int row = (level - 1) % (ColourOptions::LevelCount / LevelColumns);
    const int column = (level - 1) / (ColourOptions::LevelCount / LevelColumns);
    levels->addWidget(label, row, column);
    levels_[static_cast<std::size_t>(level - 1)] = label;
  }
  frameLayout->addWidget(paper_, 1);
  columns->addWidget(frame, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ok_ = new QPushButton(toQString(OptionFormLogic::OkCaption), this);
  ok_->setObjectName(QStringLiteral("OKBTN"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(toQString(OptionFormLogic::CancelCaption), this);
  cancel_->setObjectName(QStringLiteral("CANBTN"));
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* page = new QVBoxLayout(this);
  page->addLayout(columns);
  page->addLayout(buttons);
  refresh();
}

std::optional<ColourOptions> OptionForm::DispOption(const ColourOptions& colours, Ui& ui, QWidget* owner) {
  OptionForm form(colours, ui, owner);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.logic().colours();
}

bool OptionForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
    return QDialog::eventFilter(watched, event);
  for (int i = 0; i < ColourOptions::NamedCount; ++i) {
    if (watched != swatch(i) && watched != swatchName(i)) continue;
    logic_.clickSwatch(i);
    refresh();
    return true;
  }
  for (int level = 1; level <= ColourOptions::LevelCount; ++level) {
    if (watched != levelLabel(level)) continue;
    logic_.clickLevel(level);
    refresh();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

// Swatches and labels show the colours as the lists would draw them; the
// desktop's selection colours are resolved here only, never stored.
void OptionForm::refresh() {
  const ColourOptions& c = logic_.colours();
  const QPalette& desktop = palette();
  for (int i = 0; i < ColourOptions::NamedCount; ++i) {
    fill(swatch(i), QPalette::Window, toQColor(c.namedColour(i), desktop));
    QLabel* name = swatchName(i);
    const bool marked = logic_.markedSwatch() == i;
    name->setAutoFillBackground(marked);
    QPalette p = palette();
    if (marked) {
      p.setColor(QPalette::Window, desktop.color(QPalette::Active, QPalette::Highlight));
      p.setColor(QPalette::WindowText, desktop.color(QPalette::Active, QPalette::HighlightedText));
    }
    name->setPalette(p);
  }
  fill(paper_, QPalette::Window, toQColor(c.namedColour(1), desktop));
  for (int level = 1; level <= ColourOptions::LevelCount; ++level) {
    QLabel* label = levelLabel(level);
    fill(label, QPalette::WindowText, toQColor(c.levelColour(level), desktop));
    label->setFrameStyle(logic_.markedLevel() == level ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
  }
}

}  // namespace zevro
