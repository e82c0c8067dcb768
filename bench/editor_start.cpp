// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the editor's window comes up, against a program that shows an
// empty QMainWindow, both on Qt's offscreen platform.
//
//   editor_start [ROUNDS]
//   editor_start --check GAMEDIR
//
// Each round starts the programs once each, in turns (the empty window, one
// with a line of text, the editor), and times each from its
// start to its exit, which follows its window's first paint. It prints the
// medians and the ratio, then the time the window takes to show an
// "Average" bot (FillBotDataToForm), as the median of many calls. With
// --check it runs "Check baseq3" over GAMEDIR and tells the longest time
// between two paints of the wait window.
#include "editor/frmMain.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Once the window has been painted, tells the time on the monotonic clock
// (the same clock in every process) on standard output and ends the
// program at once: taking the window down is not part of its start.
class QuitAfterPaint : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        bool handled = QObject::eventFilter(watched, event);
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, [] {
                auto now = Clock::now().time_since_epoch();
                std::printf("%lld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return handled;
    }
};

int RunWindow(int argc, char* argv[], const std::string& kind)
{
    QApplication application(argc, argv);
    QuitAfterPaint quit;
    if (kind == "editor") {
        twl::test::TempFolder settings;
        twl::test::ScriptedMessages messages;
        twl::frmMain window(settings.Path(), messages);
        window.installEventFilter(&quit);
        window.show();
        int result = QApplication::exec();
        window.Editor().MarkSaved();
        return result;
    }
    QMainWindow window;
    if (kind == "text") {
        // One line of text: the font system starts, as in any window with text.
        window.setCentralWidget(new QLabel(QStringLiteral("Tarnwell"), &window));
    }
    window.installEventFilter(&quit);
    window.show();
    return QApplication::exec();
}

// Seconds from starting `kind` to its window's first paint.
double TimeChild(const char* self, const char* kind)
{
    char childFlag[] = "--child";
    std::string kindText = kind;
    char* args[] = {const_cast<char*>(self), childFlag, kindText.data(), nullptr};
    int out[2];
    if (pipe(out) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, args, environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string said;
    char buffer[64];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        said.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || said.empty()) {
        std::fprintf(stderr, "%s run failed\n", kind);
        std::exit(1);
    }
    Clock::time_point painted{std::chrono::nanoseconds(std::stoll(said))};
    return std::chrono::duration<double>(painted - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double FillTime(int argc, char* argv[])
{
    QApplication application(argc, argv);
    twl::test::TempFolder settings;
    twl::test::ScriptedMessages messages;
    twl::frmMain window(settings.Path(), messages);
    window.show();
    QApplication::processEvents();
    window.Editor().CreateAverageBot();
    std::vector<double> times;
    for (int run = 0; run < 200; ++run) {
        Clock::time_point start = Clock::now();
        window.FillBotDataToForm();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    window.Editor().MarkSaved();
    return Median(times);
}

// Paint times of the wait window of "Check baseq3".
class PaintTimes : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->inherits("QProgressDialog")) {
            Times.push_back(Clock::now());
        }
        return QObject::eventFilter(watched, event);
    }

    std::vector<Clock::time_point> Times;
};

// "Check baseq3" over `gameFolder`: how long it takes and the longest time
// between two paints of its wait window.
int CheckGaps(int argc, char* argv[], const char* gameFolder)
{
    QApplication application(argc, argv);
    twl::test::TempFolder settings;
    twl::test::ScriptedMessages messages;
    twl::frmMain window(settings.Path(), messages);
    window.show();
    window.Editor().CurrentSettings().Text(twl::Settings::Q3Baseq3) = gameFolder;
    PaintTimes paints;
    application.installEventFilter(&paints);
    Clock::time_point start = Clock::now();
    window.CheckBaseq3();
    Clock::time_point end = Clock::now();
    double longest = 0;
    for (std::size_t i = 1; i < paints.Times.size(); ++i) {
        longest = std::max(
            longest, std::chrono::duration<double>(paints.Times[i] - paints.Times[i - 1]).count());
    }
    std::printf(
        "Check baseq3 over %s: %.1f ms, %zu paints of the wait window, longest gap %.1f ms\n",
        gameFolder,
        std::chrono::duration<double>(end - start).count() * 1000,
        paints.Times.size(),
        longest * 1000);
    window.Editor().MarkSaved();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
        return RunWindow(1, argv, argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--check") == 0) {
        return CheckGaps(1, argv, argv[2]);
    }
    int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
    // /proc/self/exe names this very program for the children. They end
    // without taking anything down: what they leave in the temporary folder
    // goes with a folder of this run's own.
    const char* self = "/proc/self/exe";
    std::string scratch = (std::filesystem::temp_directory_path() / "editor-start-XXXXXX").string();
    if (mkdtemp(scratch.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("TMPDIR", scratch.c_str(), 1);
    std::vector<double> empty;
    std::vector<double> text;
    std::vector<double> editor;
    for (const char* kind : {"empty", "text", "editor"}) {
        TimeChild(self, kind); // the file cache warmed for each
    }
    for (int round = 0; round < rounds; ++round) {
        empty.push_back(TimeChild(self, "empty"));
        text.push_back(TimeChild(self, "text"));
        editor.push_back(TimeChild(self, "editor"));
    }
    double emptyMedian = Median(empty);
    double textMedian = Median(text);
    double editorMedian = Median(editor);
    std::printf("start to first paint, median of %d interleaved runs each:\n", rounds);
    std::printf("  empty QMainWindow             %8.1f ms\n", emptyMedian * 1000);
    std::printf("  QMainWindow with one label    %8.1f ms\n", textMedian * 1000);
    std::printf("  Tarnwell editor               %8.1f ms\n", editorMedian * 1000);
    std::printf("  editor / empty window         %8.2f\n", editorMedian / emptyMedian);
    std::printf("  editor / window with a label  %8.2f\n", editorMedian / textMedian);
    std::printf("showing an Average bot (FillBotDataToForm), median of 200: %.2f ms\n",
                FillTime(1, argv) * 1000);
    std::error_code error;
    std::filesystem::remove_all(scratch, error);
    return 0;
}
