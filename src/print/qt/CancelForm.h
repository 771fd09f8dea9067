#pragma once
// The small window that stands while pages go to the printer: "印刷中" and
// "中止". Pressing it (or closing the window) asks the print pass to stop;
// the pass looks once a page.
#include <QDialog>

class QPushButton;

namespace zevro {

class CancelForm : public QDialog {
public:
  static constexpr const char16_t* Caption = u"ZEVRO 印刷";
  static constexpr const char16_t* Label = u"印刷中";
  static constexpr const char16_t* Stop = u"中止";

  explicit CancelForm(QWidget* owner = nullptr);

  bool requested() const { return requested_; }
  void clearRequest() { requested_ = false; }
  QPushButton* stopButton() const { return stop_; }

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void stop();

  QPushButton* stop_;
  bool requested_ = false;
};

}  // namespace zevro
