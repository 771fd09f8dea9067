// Decoding and encoding a catalog-sized CP932 buffer (about 16 MB of records:
// field markers, ASCII and Japanese names, sizes, dates, comments).
//
//   cp932_bench                         run the benchmarks (MB/s of CP932 bytes)
//   cp932_bench --write-sample=FILE     write the buffer, to time
//                                       `iconv -f CP932 -t UTF-16LE FILE` on it
//   cp932_bench --decode=FILE           decode FILE to UTF-16 on standard output,
//                                       the same work as that iconv command
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <string_view>

#include "core/Record.h"
#include "text/Cp932.h"

namespace {

using zevro::Text;

constexpr std::size_t SampleBytes = 16u << 20;

Text sampleText() {
  const Text asciiNames[] = {u"IMG_0001.JPG", u"README.TXT",    u"setup.exe",     u"DATA",
                             u"track01.wav",  u"Program Files", u"manual_v2.pdf", u"backup-2023.tar.gz"};
  const Text japaneseNames[] = {u"写真フォルダ",         u"表計算ソフト.xls",     u"ポケット辞書",   u"ﾃﾞｰﾀ.txt",
                                u"音楽\u3000ライブラリ", u"議事録（第３回）.doc", u"①ソース～修正版"};
  const Text comments[] = {u"", u"", u"旅行の写真", u"バックアップ済み", u"DVD-R 2枚目 表紙あり"};
  std::mt19937 random(932);
  Text text;
  std::string_view::size_type bytes = 0;
  while (bytes < SampleBytes) {
    Text record;
    const bool japanese = random() % 10 < 3;
    record += zevro::record::marker(0);
    record +=
        japanese ? japaneseNames[random() % std::size(japaneseNames)] : asciiNames[random() % std::size(asciiNames)];
    record += zevro::record::marker(1);
    record += zevro::ascii(std::to_string(random() % 100000000));
    record += zevro::record::marker(2);
    record += u"2023/04/01 12:34:56";
    record += zevro::record::marker(3);
    record += comments[random() % std::size(comments)];
    bytes += zevro::cp932::byteLength(record);
    text += record;
  }
  return text;
}

const std::string& sampleBytes() {
  static const std::string bytes = zevro::cp932::encode(sampleText());
  return bytes;
}

void BM_Decode(benchmark::State& state) {
  const std::string& bytes = sampleBytes();
  for (auto _ : state) benchmark::DoNotOptimize(zevro::cp932::decode(bytes));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state) {
  const Text text = zevro::cp932::decode(sampleBytes());
  for (auto _ : state) benchmark::DoNotOptimize(zevro::cp932::encode(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sampleBytes().size()));
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

void BM_ByteLength(benchmark::State& state) {
  const Text text = zevro::cp932::decode(sampleBytes());
  for (auto _ : state) benchmark::DoNotOptimize(zevro::cp932::byteLength(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sampleBytes().size()));
}
BENCHMARK(BM_ByteLength)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The first call builds the conversion tables.
  const auto start = std::chrono::steady_clock::now();
  benchmark::DoNotOptimize(zevro::cp932::representable(u'表'));
  const std::chrono::duration<double, std::milli> build = std::chrono::steady_clock::now() - start;
  std::cerr << "table build: " << build.count() << " ms\n";

  constexpr std::string_view WriteSample = "--write-sample=";
  if (argc == 2 && std::string_view(argv[1]).starts_with(WriteSample)) {
    std::ofstream out(argv[1] + WriteSample.size(), std::ios::binary);
    out.write(sampleBytes().data(), static_cast<std::streamsize>(sampleBytes().size()));
    std::cerr << "wrote " << sampleBytes().size() << " bytes\n";
    return out ? 0 : 1;
  }
  constexpr std::string_view DecodeFile = "--decode=";
  if (argc == 2 && std::string_view(argv[1]).starts_with(DecodeFile)) {
    std::ifstream in(argv[1] + DecodeFile.size(), std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const Text text = zevro::cp932::decode(bytes);
    std::fwrite(text.data(), sizeof(char16_t), text.size(), stdout);
    return in ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
