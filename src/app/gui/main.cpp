// zevro: the desktop program.
//
//   zevro [--program-dir DIR]
//
// The program folder is settled as zevro-cli settles it (--program-dir, else
// $ZEVRO_HOME, else $XDG_DATA_HOME/zevro, else ~/.local/share/zevro). The
// list window opens on it: catalogs are opened, read from media with the
// reading window, browsed and saved there; closing it ends the program.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QImageReader>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <QTranslator>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "core/DriveTypeTable.h"
#include "core/OldDataConversion.h"
#include "core/ShutdownMessages.h"
#include "dialogs/qt/QtUi.h"
#include "listview/MainWindowLogic.h"
#include "listview/qt/IconFiles.h"
#include "listview/qt/MainWindow.h"
#include "listview/qt/MainWindowImages.h"
#include "media/Program.h"
#include "media/ArchiveContents.h"
#include "media/ArchiveLibraries.h"
#include "media/CommentGenerator.h"
#include "media/MediumTitle.h"
#include "media/qt/MediaForm.h"
#include "media/qt/ScanForm.h"
#include "platform/LinuxFileSystem.h"
#include "platform/ProgramFolder.h"
#include "print/qt/PrintDialogue.h"
#include "compare/qt/CompareForm.h"
#include "select/qt/FindForm.h"
#include "select/qt/SelectForm.h"
#include "platform/qt/QtText.h"
#include "text/Cp932.h"
#include "core/OptionKeys.h"
#include "core/Geometry.h"
#include "viewers/qt/DocForm.h"
#include "viewers/qt/LiveForm.h"

#ifndef ZEVRO_VERSION
#define ZEVRO_VERSION "0.0.0"
#define ZEVRO_VERSION_MAJOR 0
#define ZEVRO_VERSION_MINOR 0
#define ZEVRO_VERSION_PATCH 0
#endif

namespace zevro {
namespace {

constexpr int ExitOk = 0;
constexpr int ExitRefused = 1;
constexpr int ExitError = 2;
constexpr const char* ErrorSoundName = "Error.WAV";

struct Arguments {
  std::string programDir;  // "" when not given
  std::string wrong;       // what is wrong with the command line
};

// Qt has taken its own options (-platform …) out already.
Arguments parseArguments(const QStringList& args) {
  Arguments a;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--program-dir")) {
      if (i + 1 >= args.size()) {
        a.wrong = "--program-dir needs a folder";
        return a;
      }
      a.programDir = QFile::encodeName(args[++i]).toStdString();
    } else if (arg.startsWith(QLatin1String("--program-dir="))) {
      a.programDir = QFile::encodeName(arg.mid(14)).toStdString();
    } else {
      a.wrong = "unknown argument " + arg.toStdString() + " (see --help)";
      return a;
    }
  }
  return a;
}

void printHelp() {
  std::cout << "Usage: zevro [--program-dir DIR]\n"
               "       zevro --help | --version\n"
               "\n"
               "ZEVRO, the disk catalogue: reads drives and folders into catalogs of the\n"
               "catalog folder, and shows them as a folder tree with a file pane.\n"
               "\n"
               "Options:\n"
               "  --program-dir DIR  the program folder (default: $ZEVRO_HOME, else\n"
               "                     $XDG_DATA_HOME/zevro, else ~/.local/share/zevro)\n"
               "  --help             this text\n"
               "  --version          the version\n";
}

// The list window over the catalogs until the user closes it; it reads media
// with the reading window and stores them when the user saves.
int showListWindow(QApplication& app, QtUi& ui, Program& program, const StartupState& state) {
  program.driveInfo();
  if (program.driveTypesError())
    program.platform().ui.showMessage(fileWriteErrorText(program.programFolder() / DriveTypeTable::FileName),
                                      mb::Ok | mb::IconExclamation, u"");
  // Font choice 2 needs a font of that very name; the IPA stand-in would
  // draw it the same as choice 0.
  const bool meiryoUi = QFontDatabase::hasFamily(QStringLiteral("Meiryo UI"));
  MainWindowLogic logic({program.platform(), program.options(), program.index(), program.titles(),
                         program.programFolder(), program.catalogFolder(), state.versionText, &program.icons(),
                         meiryoUi, state.commonDialogs, &program.locator(), &program.pictures(), &program.opener()});
  MainWindow window(logic);
  ui.setMainWindow(&window);
  // The file-type icons: the user's or the standard ones, for both grids.
  QImage iconStrip = iconfiles::LoadIcons(program);
  PrintDialogue* printingWindow = nullptr;  // set below, once the print window exists
  window.setIcons(iconStrip, program.icons());
  logic.hooks().changeIcons = [&] {
    const bool changed = iconfiles::DispIconList(program, iconStrip, &window);
    window.setIcons(iconStrip, program.icons());
    if (printingWindow) printingWindow->setIconStrip(iconStrip);
    return changed;
  };
  logic.hooks().useStandardIcons = [&] {
    iconStrip = iconfiles::useStandardIcons(program);
    window.setIcons(iconStrip, program.icons());
    if (printingWindow) printingWindow->setIconStrip(iconStrip);
  };
  // Finding a medium again: the drive question over the list window.
  MediaForm mediaForm(program.driveInfo(), &window);
  program.locator().setQuestion(&mediaForm);
  logic.hooks().changeMediumTitle = [&](TextView wanted) {
    return mediumtitle::ChangeMediumTitle(
        mediaForm, program.driveInfo(), program.titleFile(), program.platform().ui, wanted,
        [&logic](char letter, TextView from, TextView to) { return logic.document().relabel(letter, from, to); });
  };
  // The data window, made when something is first shown in it.
  std::unique_ptr<LiveForm> liveForm;
  logic.hooks().dataWindow = [&]() -> DataWindow* {
    if (!liveForm) liveForm = std::make_unique<LiveForm>(program.platform().files, &window, &program.platform().ui, &program.options());
    const OptionStore& o = program.options();
    const int width = opt::readNumber(o, opt::PicViewWidth);
    const int height = opt::readNumber(o, opt::PicViewHeight);
    // Stored in twips at the screen's resolution, as the window writes them.
    const int tpp = twipsPerPixel(window.logicalDpiX());
    liveForm->setSettings({opt::readBoolean(o, opt::FixPreview), width > 0 ? width / tpp : window.width() / 2,
                           height > 0 ? height / tpp : window.height()});
    return liveForm.get();
  };
  window.setZoomKeyTarget([&liveForm](char16_t c) {
    if (liveForm) liveForm->KeyIn(c);
  });
  window.setZoomKeyShown([&liveForm] { return liveForm && liveForm->isVisible(); });
  logic.hooks().ChangePrevFont = [&liveForm] {
    if (liveForm) liveForm->ChangePrevFont();
  };
  // The comment window, made when the first comment is shown in it. Its
  // edits are stored through storeComment; the grids are redrawn once the
  // operation that handed the edit over is through.
  std::unique_ptr<DocForm> docForm;
  const DocFormModel::EditComment editComment = [&logic, &window](int row, TextView comment) {
    const MainWindowEffects e = logic.storeComment(row, comment);
    QTimer::singleShot(0, &window, [&window, e] { window.apply(e); });
  };
  logic.hooks().DispCommentText = [&](TextView catalog, int row, TextView name, TextView comment) {
    if (!docForm) docForm = std::make_unique<DocForm>(editComment, &program.options(), &window);
    docForm->DispCommentText(catalog, row, name, comment);
  };
  logic.hooks().isCommentTextEdited = [&docForm](TextView catalog, int row, TextView name, Text* comment) {
    return docForm && docForm->loaded() && docForm->isCommentTextEdited(catalog, row, name, comment);
  };
  logic.hooks().ChangeDocFont = [&docForm] {
    if (docForm) docForm->ChangeDocFont();
  };
  logic.hooks().pictureSize = [](const NativePath& file) -> std::optional<std::pair<int, int>> {
    const QSize size = QImageReader(QFile::decodeName(QByteArray::fromStdString(file.native()))).size();
    if (!size.isValid()) return std::nullopt;
    return std::pair{size.width(), size.height()};
  };
  // Archive contents: LZH and ZIP members in a reading.
  ArchiveLibraries archiveReader(program.listTimeZone());
  ArchiveContents archives(archiveReader, program.icons());
  // Comments generated from the medium's readme and index files.
  CommentGenerator comments(program.platform().files,
                            playerSettingsFolder(program.programFolder(), [](const char* key) -> std::string {
                              const char* v = std::getenv(key);
                              return v ? std::string(v) : std::string();
                            }));
  ScanForm form({program.readingServices(), program.options(), &comments, &archives}, &window);
  // The catalog selection window: catalogs are chosen there.
  SelectForm selection(program, &window);
  selection.attachTo(window);
  selection.setFolderListener([&form](const NativePath& folder) { form.logic().setCatalogFolder(folder); });
  // Printing: the print window over the shown list.
  PrintDialogue printing(program.options(), program.platform().ui, &window);
  printing.setIconStrip(iconStrip);
  printingWindow = &printing;
  logic.hooks().printList = [&logic, &printing, &window] {
    const GridIcons& icons = logic.folderGrid().icons();
    printing.PrintList({&logic.folderGrid().store(), &logic.fileGrid().store(), logic.printTitle(),
                        logic.cursorFolderPath(), logic.tree().shownMode(), icons.map, icons.count});
    window.activateWindow();
  };
  // The search window: searches all catalogs and jumps into this window.
  FindForm find(program, window, state.commonDialogs, &window);
  find.setPrinter([&printing](const RowStore& rows, TextView title) { printing.PrintFindList(rows, title); });
  const auto openSearch = [&find, &window] { find.OpenFind(fromQString(window.findBox()->currentText())); };
  logic.hooks().openSearch = [openSearch](TextView) { openSearch(); };
  selection.setSearchOpener(openSearch);
  // The comparison window: duplicates, files on one medium only, changes;
  // media and genres as the search window has them.
  CompareForm compare(program, window, [&find](CompareFilters& f) {
    f.media = find.logic().media();
    f.genres = {find.logic().genresOn(), find.logic().genreList()};
  }, &window);
  logic.hooks().findDuplicates = [&compare] { compare.FindDuplicates(); };
  logic.hooks().filesOnlyHere = [&compare](TextView fileName) { compare.FilesOnlyHere(fileName); };
  logic.hooks().compareWith = [&compare](TextView fileName) { compare.CompareWith(fileName); };
  window.apply(MainWindowEffects{});
  logic.hooks().unloadWindows = [&form, &printing, &selection, &find, &liveForm, &docForm] {
    if (liveForm) liveForm->unload();
    if (docForm) docForm->unload();
    form.unload();
    printing.unload();
    selection.unload();
    find.unload();
  };
  logic.hooks().readMedium = [&form](RowStore& store) { return form.readMedium(store); };
  logic.hooks().refreshMedium = [&form](RowStore& store, TextView source, TextView fileName, TextView title) {
    return form.refreshMedium(store, source, fileName, title);
  };
  window.show();
  if (state.hasOldListFiles) program.platform().ui.showMessage(OldDataConversion::OldVersionMessage, mb::Ok, u"");
  if (logic.options().startWithCatalog) selection.カタログ一覧を表示(u"");
  return app.exec();
}

// --help and --version answer without a display.
std::optional<int> answerWithoutDisplay(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printHelp();
      return ExitOk;
    }
    if (arg == "--version") {
      std::cout << "zevro " << ZEVRO_VERSION << '\n';
      return ExitOk;
    }
  }
  return std::nullopt;
}

int run(QApplication& app) {
  const Arguments a = parseArguments(QCoreApplication::arguments());
  if (!a.wrong.empty()) {
    std::cerr << "zevro: " << a.wrong << '\n';
    return ExitError;
  }

  LinuxFileSystem files;
  const ProgramFolderResult folder = settleProgramFolder(files, a.programDir, [](const char* key) -> std::string {
    const char* v = std::getenv(key);
    return v ? std::string(v) : std::string();
  });
  if (!folder.error.empty()) {
    std::cerr << "zevro: " << folder.error << '\n';
    return ExitError;
  }
  QtUi ui((folder.path / ErrorSoundName).native());
  Platform platform{files, ui};
  Program program(platform, folder.path);
  if (!program.claimInstance()) {
    ui.showMessage(program.alreadyRunningText(), mb::Ok | mb::IconExclamation, u"");
    return ExitRefused;
  }
  if (program.loadOptions()) {
    ui.showMessage(fileReadErrorText(program.options().path()), mb::Ok | mb::IconExclamation, u"");
    return ExitError;
  }
  const StartupState& state = program.startUp({ZEVRO_VERSION_MAJOR, ZEVRO_VERSION_MINOR, ZEVRO_VERSION_PATCH});
  if (state.refused) {
    ui.beep();
    return ExitRefused;
  }
  // The program ends with its main window; closing it asks about a modified
  // list, saves the options and empties the work folders.
  showListWindow(app, ui, program, state);
  return ExitOk;
}

}  // namespace
}  // namespace zevro

int main(int argc, char** argv) {
  if (const std::optional<int> answered = zevro::answerWithoutDisplay(argc, argv)) return *answered;
  QApplication app(argc, argv);
  app.setWindowIcon(QIcon(QStringLiteral(":/zevro.png")));
  app.setDesktopFileName(QStringLiteral("zevro"));
  QApplication::setApplicationName(QStringLiteral("zevro"));
  // The program speaks Japanese, and so do Qt's own dialogs (the file
  // chooser, the standard buttons) when their translations are installed.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
  return zevro::run(app);
}
