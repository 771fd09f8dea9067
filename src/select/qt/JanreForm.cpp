#include "select/qt/JanreForm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <optional>

#include "platform/qt/QtText.h"

namespace zevro {

JanreForm::JanreForm(JanreChoice choice, QWidget* owner) : QDialog(owner), choice_(std::move(choice)) {
  setObjectName(QStringLiteral("JanreForm"));
  setWindowTitle(toQString(JanreChoice::Caption));
  setWindowModality(Qt::ApplicationModal);
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPointSizeF(10);
  setFont(font);

  auto* column = new QVBoxLayout(this);
  prompt_ = new QLabel(toQString(choice_.prompt), this);
  prompt_->setVisible(!choice_.prompt.empty());
  column->addWidget(prompt_);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("JANSEL"));
  list_->setSelectionMode(choice_.multiple ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
  for (const JanreChoice::Entry& e : choice_.entries) {
    auto* item = new QListWidgetItem(toQString(e.name), list_);
    item->setData(Qt::UserRole, e.genre);
  }
  for (int i = 0; i < list_->count(); ++i) {
    if (!choice_.entries[static_cast<std::size_t>(i)].selected) continue;
    list_->item(i)->setSelected(true);
    if (!choice_.multiple) list_->setCurrentRow(i);
  }
  column->addWidget(list_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ok_ = new QPushButton(toQString(JanreChoice::OkCaption), this);
  ok_->setObjectName(QStringLiteral("OKBTN"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(toQString(JanreChoice::CancelCaption), this);
  cancel_->setObjectName(QStringLiteral("CANBTN"));
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  column->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, [this] {
    cancelled_ = false;
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] {
    cancelled_ = true;
    reject();
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
    if (choice_.multiple) return;
    cancelled_ = false;
    accept();
  });
  resize(260, 320);
}

void JanreForm::placeBesideOwner() {
  QWidget* owner = parentWidget();
  if (!owner) return;
  // Right of the owner when there is room on its screen, else left of it.
  const QRect o = owner->frameGeometry();
  const QScreen* screen = owner->screen();
  const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
  int left = o.right() + 1;
  if (left + width() > room.right()) left = std::max(room.left(), o.left() - width());
  move(left, o.top());
}

void JanreForm::SetJanre() {
  cancelled_ = true;
  placeBesideOwner();
  exec();
}

std::vector<int> JanreForm::chosen() const {
  std::vector<int> genres;
  if (cancelled_) return genres;
  for (int i = 0; i < list_->count(); ++i) {
    if (list_->item(i)->isSelected()) genres.push_back(list_->item(i)->data(Qt::UserRole).toInt());
  }
  return genres;
}

std::optional<int> JanreForm::pickOne(const GenreTable& genres, int current, QWidget* owner) {
  JanreForm form(JanreChoice::single(genres, current), owner);
  form.SetJanre();
  const std::vector<int> chosen = form.chosen();
  if (chosen.empty()) return std::nullopt;
  return chosen.front();
}

}  // namespace zevro
