#pragma once
// The data window: a text file or a picture of the shown catalog (see
// media/DataWindow.h for what it is told). It is made at first use and
// afterwards hidden and shown.
#include <QWidget>

#include "media/DataWindow.h"
#include "platform/FileSystem.h"

class QLabel;
class QPlainTextEdit;
class QScrollArea;
class QStackedLayout;

namespace zevro {

class DataForm : public QWidget, public DataWindow {
  Q_OBJECT

public:
  struct Settings {
    bool fixPreview = false;  // FixPreview
    int picViewWidth = 480;   // PicViewWidth, pixels
    int picViewHeight = 480;  // PicViewHeight
  };

  DataForm(FileSystem& files, QWidget* mainWindow);

  void setSettings(const Settings& settings) { settings_ = settings; }

  bool loaded() const override { return shownOnce_; }
  void DispDoc(const NativePath& file, TextView displayName) override;
  void DispPic(const PictureShow& picture) override;
  void DispNull() override;

  QPlainTextEdit* textView() const { return text_; }  // TXTVIW
  QLabel* imageView() const { return image_; }        // LIVIMG

private:
  void showBeside();

  FileSystem& files_;
  QWidget* mainWindow_;
  Settings settings_;
  QStackedLayout* stack_ = nullptr;
  QPlainTextEdit* text_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QLabel* image_ = nullptr;
  bool shownOnce_ = false;
};

}  // namespace zevro
