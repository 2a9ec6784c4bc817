// Throughput of ConvertFile from file to file, in the three leading-blank modes.
//
// VINTREL_BENCH_INPUT names the input file (bench/run.sh passes its generated OCR-like
// text); without it a 32 MiB text is made in a temporary folder. The output goes to
// VINTREL_BENCH_OUTPUT, or beside the generated input; it is removed before each
// iteration, outside the time measured.

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "benchmark/benchmark.h"
#include "engine/convert_file.h"
#include "platform/core/string_map.h"
#include "platform/core/text_file.h"

namespace vintrel {
namespace {

struct Files {
  std::string input;
  std::string output;
  std::string folder;  // made here, removed at exit; empty when the paths were given
};

Files& BenchFiles() {
  static Files files = [] {
    Files made;
    const char* input = getenv("VINTREL_BENCH_INPUT");
    const char* output = getenv("VINTREL_BENCH_OUTPUT");
    if (input != nullptr && *input != '\0') {
      made.input = input;
      made.output = output != nullptr && *output != '\0' ? output : made.input + ".bench-out";
      return made;
    }
    const char* base = getenv("TMPDIR");
    std::string folder =
        std::string(base != nullptr && *base ? base : "/tmp") + "/vintrel-bench-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) abort();
    made.folder = folder;
    made.input = folder + "/input.txt";
    made.output = folder + "/output.txt";
    std::FILE* file = std::fopen(made.input.c_str(), "wb");
    if (file == nullptr) abort();
    const std::string lines[] = {
        "   The committee met on a cold morn-\n",
        "ing in the spring of that year to dis-\n",
        "cuss the socio-\n",
        "economic effects of the new rail-\n",
        "way,  which had already changed the    \n",
        "life of the town in ways that nobody had foreseen.\n",
        "\n",
    };
    size_t written = 0;
    while (written < (32u << 20)) {
      for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), file);
        written += line.size();
      }
    }
    std::fclose(file);
    return made;
  }();
  return files;
}

void BM_ConvertFile(benchmark::State& state) {
  const Files& files = BenchFiles();
  struct stat status;
  if (stat(files.input.c_str(), &status) != 0) {
    state.SkipWithError("no input file");
    return;
  }
  ConvertOptions options;
  options.lead_mode = static_cast<int>(state.range(0));
  options.column = 4;
  options.collapse_spaces = state.range(1) != 0;
  CMapStringToString keep_words;
  for (const char* word : {"socio-", "anti-", "self-", "non-", "well-", "co-", "re-"}) {
    keep_words.SetAt(word, " ");
  }
  for (auto _ : state) {
    // Every contender of bench/run.sh writes a new file: no time goes into emptying one.
    state.PauseTiming();
    unlink(files.output.c_str());
    state.ResumeTiming();
    TextFile input;
    TextFile output;
    if (input.Open(files.input, TextFile::kRead) != 0 ||
        output.Open(files.output, TextFile::kWrite) != 0) {
      state.SkipWithError("cannot open the files");
      return;
    }
    ConvertFile(input, output, options, keep_words, [] {});
    output.Close();
    input.Close();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * status.st_size);
}

BENCHMARK(BM_ConvertFile)
    ->ArgNames({"mode", "collapse"})
    ->Args({LeadKeep, 0})
    ->Args({LeadDelAll, 0})
    ->Args({LeadDelColumn, 0})
    ->Args({LeadDelAll, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace vintrel

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const vintrel::Files& files = vintrel::BenchFiles();
  unlink(files.output.c_str());
  if (!files.folder.empty()) {
    unlink(files.input.c_str());
    rmdir(files.folder.c_str());
  }
  return 0;
}
