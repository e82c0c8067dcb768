// SPDX-License-Identifier: GPL-3.0-or-later
// How long the editor takes from the choice of a skin to the picture for
// its icon box, when the icon lives in a large archive.
//
//   python3 bench/make_game_folder.py GAMEDIR --archives 1 --entries 50000
//   icon_show GAMEDIR [ROUNDS]
//
// The skin Bench00/Default (icon models\players\bench00\icon_default.tga in
// pak01-extra.pk3, as the game-folder check would list it) is chosen as the
// window's skin handler does: the editor's icon reader reads and decodes the
// icon, and the pixmap for a 62 x 62 box is made. Timed ROUNDS times as the
// first choice in that archive (a new reader: the archive is opened and its
// names walked) and as later choices (the reader keeps the archive open),
// and each step of a first choice on its own.
#include "catalog/Models.h"
#include "editing/SkinIcon.h"
#include "editor/IconImages.h"
#include "pk3/ArchiveExtract.h"
#include "pk3/GameArchives.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Milliseconds on the clock and of this thread's processor time.
struct Timing
{
    std::vector<double> Wall;
    std::vector<double> Processor;
};

double ThreadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Each of `rounds` calls of `step`. The processor time leaves out the waits
// for a machine shared with other work.
Timing Times(int rounds, const std::function<void()>& step)
{
    Timing timing;
    for (int round = 0; round < rounds; ++round) {
        Clock::time_point start = Clock::now();
        double processorStart = ThreadMilliseconds();
        step();
        timing.Processor.push_back(ThreadMilliseconds() - processorStart);
        timing.Wall.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return timing;
}

void Print(const char* what, const Timing& timing)
{
    std::printf("  %-36s %7.2f ms  (processor %.2f ms, slowest %.2f ms)\n",
                what,
                Median(timing.Wall),
                Median(timing.Processor),
                *std::max_element(timing.Wall.begin(), timing.Wall.end()));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: icon_show GAMEDIR [ROUNDS]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    const std::string gameFolder = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
    const std::string pk3File = "pak01-extra.pk3";
    const std::string iconFile = "models\\players\\bench00\\icon_default.tga";
    const QSize box(62, 62);

    twl::test::TempFolder settings;
    twl::test::ScriptedMessages messages;
    twl::BotEditor editor(settings.Path(), messages);
    editor.Start();
    editor.CurrentSettings().Text(twl::Settings::Q3Baseq3) = gameFolder;
    editor.InitByValues();
    twl::ModelCatalogue& models = editor.CurrentCatalogues().Models;
    twl::AddModelSkin(models, "bench00", "default", pk3File, iconFile);
    const twl::ModelSelection selection{static_cast<std::int16_t>(models.size() - 1), 0};

    bool shown = true;
    // What the window's skin handler does with the reader it keeps.
    auto chooseWith = [&](twl::SkinIconReader& reader) {
        twl::IconChoice choice = reader.Choose(editor, selection, messages);
        QPixmap pixmap = twl::IconPixmap(choice, box);
        shown = shown && choice.Shows == twl::IconChoice::Kind::Skin && !pixmap.isNull();
    };
    // The first choice of a skin of the archive: it is opened and its names
    // walked. Each round with a reader of its own, which goes after the
    // round, outside the time (the window keeps its reader).
    Timing opening;
    for (int round = 0; round < rounds; ++round) {
        twl::SkinIconReader reader;
        Timing one = Times(1, [&] { chooseWith(reader); });
        opening.Wall.push_back(one.Wall[0]);
        opening.Processor.push_back(one.Processor[0]);
    }
    // Later choices of skins of the same archive: it is kept open.
    twl::SkinIconReader kept;
    Timing later = Times(rounds, [&] { chooseWith(kept); });
    if (!shown || !messages.Received().empty()) {
        std::fprintf(stderr,
                     "the icon was not shown: is %s a game folder made by "
                     "make_game_folder.py?\n",
                     gameFolder.c_str());
        return 1;
    }

    const std::vector<std::filesystem::path> folders = twl::GameArchiveFolders(gameFolder);
    std::string bytes;
    Timing read = Times(rounds, [&] {
        bytes = twl::ReadArchiveEntry(pk3File, iconFile, folders, messages).value_or("");
    });
    twl::RgbaImage image;
    Timing decode =
        Times(rounds, [&] { image = twl::DecodeTga(bytes).value_or(twl::RgbaImage()); });
    twl::IconChoice decoded{twl::IconChoice::Kind::Skin, image};
    Timing convert = Times(rounds, [&] { twl::IconPixmap(decoded, box); });

    std::printf("choosing a skin whose %dx%d icon lies in a 50,000-entry archive, %d rounds:\n",
                image.Width,
                image.Height,
                rounds);
    Print("first choice in the archive", opening);
    Print("later choices", later);
    std::printf("steps of a first choice, medians:\n");
    Print("open, look up, read entry, close", read);
    Print("decode the TGA", decode);
    Print("QImage, scale, QPixmap", convert);
    return 0;
}
