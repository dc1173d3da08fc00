#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/conversion.h"
#include "ui/form1.h"
#include "ui/graphic_button.h"
#include "ui/interface_font.h"
#include "ui/multi_line_box.h"
#include "ui/text_box.h"

namespace huecode {
namespace {

constexpr const char* kStartupChildFlag = "--startup-child";
const char* g_self = nullptr;

std::int64_t MonotonicNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The child: what the real program does at start, then the moment the window is on screen.
int RunStartupChild(int argc, char** argv) {
  QApplication app(argc, argv);
  Form1 form;
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) {
    return 1;
  }
  std::printf("%lld\n", static_cast<long long>(MonotonicNanoseconds()));
  return 0;
}

// Process start to Form1 shown: a fresh process each iteration, timed from
// just before posix_spawn to the child's report that the window is exposed.
void BM_StartToWindowShown(benchmark::State& state) {
  for (auto _ : state) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
      state.SkipWithError("pipe failed");
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char* const childArgv[] = {const_cast<char*>(g_self), const_cast<char*>(kStartupChildFlag),
                               nullptr};
    pid_t pid = 0;
    const std::int64_t started = MonotonicNanoseconds();
    const int spawned = posix_spawn(&pid, g_self, &actions, nullptr, childArgv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
      close(pipeFds[0]);
      state.SkipWithError("posix_spawn failed");
      return;
    }
    char buffer[64] = {};
    const ssize_t n = read(pipeFds[0], buffer, sizeof buffer - 1);
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the child did not show the window");
      return;
    }
    const std::int64_t shown = std::strtoll(buffer, nullptr, 10);
    state.SetIterationTime(static_cast<double>(shown - started) / 1e9);
  }
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_StartToWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Mixed Chinese and ASCII; with line breaks every few dozen characters, or
// one paragraph, the hardest case for the output box's word wrap.
QString SampleText(qsizetype length, bool lineBreaks) {
  static const QString kPieces[] = {"欢迎光临",     "我的留言板",     "! Happy posting ",
                                    "with huecode", "，祝新年快乐。", "\n"};
  QString text;
  for (std::size_t i = 0; text.size() < length; ++i) {
    const QString& piece = kPieces[i % std::size(kPieces)];
    text += lineBreaks || piece != "\n" ? piece : QStringLiteral(" ");
  }
  text.truncate(length);
  return text;
}

// The convert button end to end: preview, conversion and the output box
// filled; with the second argument 1 also the repaint that shows it.
void BM_ConvertHandler(benchmark::State& state) {
  Form1 form;
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) {
    state.SkipWithError("the window was not shown");
    return;
  }
  form.Text1->setPlainText(SampleText(state.range(0), state.range(1) != 0));
  const bool repaint = state.range(2) != 0;
  for (auto _ : state) {
    form.Command2[0]->click();
    if (repaint) {
      form.repaint();
    }
    benchmark::DoNotOptimize(form.Text3->document()->characterCount());
  }
  state.counters["output_chars"] = form.Text3->document()->characterCount() - 1;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.SetLabel(std::to_string(state.range(0)) + " characters" +
                 (state.range(1) != 0 ? ", short lines" : ", one paragraph") +
                 (repaint ? ", repainted" : ""));
}
BENCHMARK(BM_ConvertHandler)
    ->ArgNames({"chars", "lines", "repaint"})
    ->Args({100000, 1, 0})
    ->Args({100000, 1, 1})
    ->Args({100000, 0, 0})
    ->Args({100000, 0, 1})
    ->Unit(benchmark::kMillisecond);

// The output box alone, filled with the conversion of a one-paragraph text
// and painted once, for each wrap mode: the time goes into breaking the one
// block of some two million characters into lines.
void BM_OutputBoxWrap(benchmark::State& state) {
  static constexpr QTextOption::WrapMode kModes[] = {
      QTextOption::WrapAtWordBoundaryOrAnywhere, QTextOption::WrapAnywhere, QTextOption::WordWrap,
      QTextOption::WrapAtWordBoundaryOrAnywhere, QTextOption::WrapAtWordBoundaryOrAnywhere};
  static constexpr const char* kNames[] = {"word boundary or anywhere", "anywhere", "word",
                                           "word boundary or anywhere, no shaping",
                                           "word boundary or anywhere, no font merging"};
  static constexpr QFont::StyleStrategy kStrategies[] = {
      QFont::PreferDefault, QFont::PreferDefault, QFont::PreferDefault, QFont::PreferNoShaping,
      QFont::NoFontMerging};
  const auto mode = static_cast<std::size_t>(state.range(0));
  ConversionSettings settings;
  settings.text = SampleText(state.range(1), false).toStdU16String();
  const QString output = QString::fromStdU16String(GenerateCode(settings));
  MultiLineBox box(nullptr);
  box.resize(321, 81);
  box.setWordWrapMode(kModes[mode]);
  QFont font = InterfaceFont();
  font.setStyleStrategy(kStrategies[mode]);
  box.setFont(font);
  box.show();
  if (!QTest::qWaitForWindowExposed(&box)) {
    state.SkipWithError("the box was not shown");
    return;
  }
  for (auto _ : state) {
    SetBoxText(box, output);
    box.viewport()->repaint();
  }
  state.SetLabel(kNames[mode]);
  state.counters["output_chars"] = static_cast<double>(output.size());
}
BENCHMARK(BM_OutputBoxWrap)
    ->ArgNames({"mode", "chars"})
    ->Args({0, 100000})
    ->Args({1, 100000})
    ->Args({2, 100000})
    ->Args({3, 100000})
    ->Args({4, 100000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace huecode

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  if (argc > 1 && std::strcmp(argv[1], huecode::kStartupChildFlag) == 0) {
    return huecode::RunStartupChild(argc, argv);
  }
  huecode::g_self = argv[0];
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
