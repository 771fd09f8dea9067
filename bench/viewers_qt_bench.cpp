// The data window following held-down cursor keys over text files:
//   LoadDocText16K   reading and decoding the first 16 KB of a text file
//                    (CP932), as DispDoc does before showing it
//   DispDoc16K       the whole DispDoc of the window (offscreen): loading,
//                    the text view filled, the window shown; files alternate
//                    as the cursor passes from one to the next; /1 with
//                    the window drawn after each call, /0 without
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"
#include "viewers/LiveFormLogic.h"
#include "viewers/qt/LiveForm.h"

namespace {

using namespace zevro;

struct Texts {
  Texts() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zevro-viewers-bench-XXXXXX").native();
    folder = ::mkdtemp(pattern.data());
    const std::string line = cp932::encode(u"この円盤の説明です。画像は PICS にあります。\r\n");
    for (int i = 0; i < 2; ++i) {
      std::string bytes;
      while (bytes.size() < 20000) bytes += line;
      files[i] = folder / ("README" + std::to_string(i) + ".TXT");
      std::ofstream(files[i], std::ios::binary) << bytes;
    }
  }
  ~Texts() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path folder;
  NativePath files[2];
};

void LoadDocText16K(benchmark::State& state) {
  static Texts texts;
  LinuxFileSystem fs;
  std::size_t units = 0;
  int i = 0;
  for (auto _ : state) {
    const DocLoad load = loadDocText(fs, texts.files[i++ & 1]);
    units = load.text.size();
    benchmark::DoNotOptimize(units);
  }
  state.counters["units"] = static_cast<double>(units);
}
BENCHMARK(LoadDocText16K)->Unit(benchmark::kMicrosecond);

void DispDoc16K(benchmark::State& state) {
  static Texts texts;
  LinuxFileSystem fs;
  LiveForm form(fs, nullptr);
  int i = 0;
  for (auto _ : state) {
    form.DispDoc(texts.files[i & 1], i & 1 ? u"README1.TXT" : u"README0.TXT");
    ++i;
    if (state.range(0)) QApplication::processEvents();
  }
  state.counters["chars"] = form.textView()->toPlainText().size();
}
BENCHMARK(DispDoc16K)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
