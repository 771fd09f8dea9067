#include "media/qt/ReadForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/qt/DialogSupport.h"
#include "media/ReadQuestion.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

// A framed value field, as the question shows the titles.
QLabel* valueField(TextView text, QWidget* parent) {
  auto* label = new QLabel(toQString(text), parent);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 30);
  return label;
}

}  // namespace

ReadForm::ReadForm(const MediaReading::ExistingCatalog& existing, QWidget* owner) : QDialog(owner) {
  setFont(dialogFont());
  setWindowTitle(toQString(ReadQuestion::Caption));
  setModal(true);

  auto* drive = new QLabel(toQString(ReadQuestion::driveText(existing.drive)), this);
  drive->setObjectName(QStringLiteral("DRVDSP"));
  QFont bold = drive->font();
  bold.setBold(true);
  drive->setFont(bold);
  auto* top = new QHBoxLayout;
  top->addWidget(drive);
  top->addWidget(new QLabel(toQString(ReadQuestion::AlreadyCatalogued), this));
  top->addStretch();

  auto* fields = new QGridLayout;
  QLabel* volume = valueField(existing.displayTitle, this);
  volume->setObjectName(QStringLiteral("VOLDSP"));
  QLabel* title = valueField(existing.title, this);
  title->setObjectName(QStringLiteral("TITDSP"));
  fields->addWidget(new QLabel(toQString(ReadQuestion::VolumeCaption), this), 0, 0);
  fields->addWidget(volume, 0, 1);
  fields->addWidget(new QLabel(toQString(ReadQuestion::TitleCaption), this), 1, 0);
  fields->addWidget(title, 1, 1);
  fields->setColumnStretch(1, 1);

  auto* hint = new QLabel(toQString(Text(ReadQuestion::RefreshHint1) + u"\n" + Text(ReadQuestion::RefreshHint2)), this);
  auto* choose = new QLabel(toQString(ReadQuestion::ChooseText), this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    QPushButton* b = new QPushButton(toQString(ReadQuestion::Buttons[i]), this);
    b->setObjectName(QStringLiteral("REDBTN%1").arg(i));
    b->setAutoDefault(true);
    connect(b, &QPushButton::clicked, this, [this, i] {
      pressed_ = static_cast<int>(i);
      accept();
    });
    buttons->addWidget(b);
    buttons_[i] = b;
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(fields);
  layout->addSpacing(6);
  layout->addWidget(hint);
  layout->addWidget(choose);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  button(ReadQuestion::FocusButton)->setDefault(true);
  button(ReadQuestion::FocusButton)->setFocus();
}

MediaReading::Existing ReadForm::answer() const { return ReadQuestion::answerOf(pressed_); }

MediaReading::Existing ReadForm::QueryNewOrAdd(const MediaReading::ExistingCatalog& existing, QWidget* owner) {
  ReadForm form(existing, owner);
  form.exec();
  return form.answer();
}

}  // namespace zevro
