#pragma once
// The data window: a text file or a picture of the shown catalog (see
// media/DataWindow.h for what it is told), over LiveFormLogic. It is made at
// first use; closing hides it, the right mouse button unloads it (its place
// and size are stored) and the next use loads it again.
#include <QPixmap>
#include <QWidget>
#include <functional>

#include "core/OptionStore.h"
#include "media/DataWindow.h"
#include "platform/FileSystem.h"
#include "platform/Ui.h"
#include "viewers/LiveFormLogic.h"

class QLabel;
class QPlainTextEdit;
class QScrollArea;
class QStackedLayout;

namespace zevro {

class LiveForm : public QWidget, public DataWindow {
  Q_OBJECT

public:
  struct Settings {
    bool fixPreview = false;  // FixPreview
    int picViewWidth = 480;   // PicViewWidth, pixels
    int picViewHeight = 480;  // PicViewHeight
  };

  // Without options nothing is read or stored; without a Ui read errors
  // are shown in the text view.
  LiveForm(FileSystem& files, QWidget* mainWindow, Ui* ui = nullptr, OptionStore* options = nullptr);

  void setSettings(const Settings& settings) { settings_ = settings; }

  bool loaded() const override { return loaded_; }
  void DispDoc(const NativePath& file, TextView displayName) override;
  void DispPic(const PictureShow& picture) override;
  void DispNull() override;
  // A character handed on by the main window ("+", "-", "=").
  void KeyIn(char16_t c);
  // PrevFontName, PrevFontSize, PrevFontBold onto the text view.
  void ChangePrevFont();
  // Stores the place and size and clears the loaded flag.
  void unload();

  // Up and Down pressed here go to the main window (its cursor moves); by
  // default they are sent to its focused widget.
  void setMainKeys(std::function<void(int qtKey)> send) { mainKeys_ = std::move(send); }

  QPlainTextEdit* textView() const { return text_; }  // TXTVIW
  QLabel* imageView() const { return image_; }        // LIVIMG
  const LiveFormLogic& logic() const { return logic_; }

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void load();
  void showWindow();
  Size2 frame() const;
  QSize stretchedSize() const;
  void zoomKey(LiveFormLogic::KeyRoute route);
  void giveBack(int qtKey);

  FileSystem& files_;
  QWidget* mainWindow_;
  Ui* ui_;
  OptionStore* options_;
  Settings settings_;
  LiveFormLogic logic_;
  QStackedLayout* stack_ = nullptr;
  QPlainTextEdit* text_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QLabel* image_ = nullptr;
  QPixmap picture_;  // the picture at its natural size
  bool loaded_ = false;
  bool placed_ = false;    // placed beside the main window once
  bool resizing_ = false;  // fitting itself to a picture: no resize handling
  std::function<void(int)> mainKeys_;
};

}  // namespace zevro
