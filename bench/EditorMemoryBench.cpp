#include "EditorMemoryBench.h"

#include "EventLoop.h"
#include "ResidentMemory.h"
#include "SamplePhoto.h"
#include "model/batch/BatchState.h"
#include "model/editor/EditorState.h"
#include "model/editor/KeptRenders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace zephrin::bench {

namespace {

constexpr int kBurst = 20;

void figure(const char* name, double value)
{
    std::printf("= %s %.0f\n", name, value);
    std::fflush(stdout);
}

QString documentName(const EditorState& editor) { return editor.document() ? editor.document()->name : QString(); }

struct Editor {
    explicit Editor(const QString& folder, bool isnet)
    {
        EditorServices services;
        services.settingsFile = QDir(folder).filePath(QStringLiteral("settings.ini"));
        services.shareFolder = QDir(folder).filePath(QStringLiteral("share"));
        state = std::make_unique<EditorState>(services);
        state->setMatteModel(isnet ? MatteModel::isnet : MatteModel::apple);
    }

    // Waits until nothing runs, then as long as a user pauses between two actions.
    void settle(int pauseMs = 150)
    {
        spinUntil([&] { return !state->isProcessing(); }, 120000);
        spin(pauseMs);
        spinUntil([&] { return !state->isProcessing(); }, 120000);
    }

    // Opens a photo and waits for its first result.
    void open(const QString& path)
    {
        state->importImage(QUrl::fromLocalFile(path));
        spinUntil([&] { return state->composite().has_value() && documentName(*state) == QFileInfo(path).fileName(); },
                  120000);
        settle();
    }

    // Left alone for a while; the resident memory then.
    double idleMB()
    {
        settle();
        spin(kIdleMs);
        return residentMB();
    }

    std::unique_ptr<EditorState> state;
};

EditorState::Points line(QPointF from, QPointF to, int points = 40)
{
    EditorState::Points result;
    for (int i = 0; i < points; ++i)
        result.push_back(from + (to - from) * (double(i) / (points - 1)));
    return result;
}

// A 3-megapixel photo edited as a user does in ten minutes, in four rounds.
int session(const QString& folder, bool isnet)
{
    const QString photo = writeSamplePhotos(folder, 1, {2000, 1500}).constFirst();
    Editor editor(folder, isnet);
    EditorState& e = *editor.state;
    editor.open(photo);
    const char* backdrops[] = {"studio-warm", "grad-ocean", "tex-linen", "bokeh-gold", "table-gray",
                               "grad-sunset", "tex-marble", "studio-sage"};
    int exports = 0;
    for (int round = 0; round < 4; ++round) {
        for (int move = 1; move <= 10; ++move) {
            e.setFeather(0.5 + 0.3 * move + round);
            spin(30);
        }
        e.commitHistory();
        editor.settle();
        e.setEdgeMode(round % 2 ? EdgeRefineMode::detail : EdgeRefineMode::smooth);
        editor.settle();

        e.setBrushSize(40 + 10 * round);
        for (int stroke = 0; stroke < 6; ++stroke) {
            e.setCanvasTool(stroke < 4 ? CanvasTool::erase : CanvasTool::restore);
            const double y = 200 + 150 * stroke + 20 * round;
            e.commitMaskStroke(line({150, y}, {700, y + 80}));
            editor.settle();
        }
        e.setCanvasTool(CanvasTool::paint);
        for (int stroke = 0; stroke < 3; ++stroke) {
            const double x = 1200 + 120 * stroke;
            e.commitPaintStroke(line({x, 300}, {x + 200, 900}));
            editor.settle();
        }
        e.setCanvasTool(CanvasTool::view);

        for (int pick = 0; pick < 2; ++pick) {
            e.selectBackdrop(QString::fromLatin1(backdrops[2 * round + pick]));
            editor.settle();
        }
        e.setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
        editor.settle();
        e.setComp(QStringLiteral("shadowEnabled"), true);
        editor.settle();
        for (int move = 1; move <= 10; ++move) {
            e.setComp(QStringLiteral("shadowBlur"), 10 + 2 * move + round);
            spin(30);
        }
        e.commitHistory();
        editor.settle();

        e.addTextLayer();
        editor.settle();
        const QString id = e.comp().texts.back().id.toString();
        e.setTextField(id, QStringLiteral("text"), QStringLiteral("Handmade %1").arg(round + 1));
        editor.settle();

        for (int step = 0; step < 8; ++step) {
            e.undo();
            editor.settle(50);
        }
        for (int step = 0; step < 5; ++step) {
            e.redo();
            editor.settle(50);
        }

        e.setExportFormat(round % 2 ? ExportFormat::jpg : ExportFormat::png);
        e.setExportLongEdge(2400);
        e.exportImage();
        spinUntil([&] { return e.exportFile().has_value() && !e.isProcessing(); }, 120000);
        exports += e.exportFile().has_value();
        e.copyToPasteboard();
        editor.settle();
    }
    std::printf("3 MP session: %d history steps, %d to redo, %zu paint operations, %d exports; kept results %d, "
                "%zu MB\n",
                e.undoCount(), e.redoCount(), e.paintOps().size(), exports, e.keptRenders().count(),
                e.keptRenders().bytes() >> 20);
    figure("session_end_idle_mb", editor.idleMB());
    figure("session_peak_mb", peakResidentMB());
    return 0;
}

// One photo cut out and left alone: where the editor stands before a burst.
double before(Editor& editor, const QString& photo)
{
    editor.open(photo);
    return editor.idleMB();
}

int handOffs(const QString& folder, bool isnet)
{
    const QStringList photos = writeSamplePhotos(folder, kBurst + 1);
    Editor editor(folder, isnet);
    EditorState& e = *editor.state;
    figure("handoffs_before_mb", before(editor, photos.back()));

    // Each hand-off is a private copy that the import deletes once read.
    const QDir inbox(QDir(folder).filePath(QStringLiteral("inbox")));
    QDir().mkpath(inbox.path());
    ResidentPeak peak;
    for (int i = 0; i < kBurst; ++i) {
        const QString copy = inbox.filePath(QStringLiteral("in-%1.jpg").arg(i));
        QFile::copy(photos[i], copy);
        e.importImage(QUrl::fromLocalFile(copy), {QStringLiteral("Shared %1").arg(i + 1), true});
        spin(250);
    }
    const QString last = QStringLiteral("Shared %1").arg(kBurst);
    spinUntil([&] { return documentName(e) == last && e.composite().has_value() && !e.isProcessing(); }, 300000);
    std::printf("hand-offs: %s open, %s\n", qPrintable(documentName(e)),
                e.composite() ? "cut out" : "NO RESULT");
    figure("handoffs_peak_mb", peak.megabytes());
    figure("handoffs_after_mb", editor.idleMB());
    return 0;
}

int batchRun(const QString& folder, bool isnet)
{
    const QStringList photos = writeSamplePhotos(folder, kBurst + 1);
    Editor editor(folder, isnet);
    figure("batch_before_mb", before(editor, photos.back()));

    BatchState& batch = *editor.state->batch();
    QList<QUrl> urls;
    for (int i = 0; i < kBurst; ++i)
        urls << QUrl::fromLocalFile(photos[i]);
    ResidentPeak peak;
    batch.add(urls);
    spin(500);
    batch.start(*editor.state);
    spinUntil([&] { return batch.didFinish(); }, 30 * 60000);
    double results = 0;
    for (const BatchItem& item : batch.itemsInOrder())
        results += item.output ? double(item.output->data.size()) / (1 << 20) : 0;
    std::printf("batch: %d done, %d failed, results %.0f MB\n", batch.doneCount(), batch.failedCount(), results);
    figure("batch_peak_mb", peak.megabytes());
    figure("batch_results_mb", results);
    figure("batch_after_mb", editor.idleMB());
    batch.clear();
    figure("batch_cleared_mb", editor.idleMB());
    return 0;
}

// The 26 generated backdrops clicked through on a 12-megapixel photo, each
// shown before the next: what history keeps of their pictures.
int backdropClicks(const QString& folder, bool isnet)
{
    const QString photo = writeSamplePhotos(folder, 1).constFirst();
    Editor editor(folder, isnet);
    EditorState& e = *editor.state;
    editor.open(photo);
    ResidentPeak peak;
    for (const Backdrop& backdrop : Backdrop::presets()) {
        e.selectBackdrop(backdrop);
        editor.settle();
    }
    const EditorState::HeldPictures held = e.historyPictures();
    const double pictureMB = e.backgroundImage() ? double(pixelBytes(e.backgroundImage()->image())) / (1 << 20) : 0;
    std::printf("%zu generated backdrops: %d history steps; history holds %d pictures, %.0f MB (a picture %.0f MB)\n",
                Backdrop::presets().size(), e.undoCount(), held.count, double(held.bytes) / (1 << 20), pictureMB);
    figure("backdrops_history_pictures", held.count);
    figure("backdrops_history_mb", double(held.bytes) / (1 << 20));
    figure("backdrops_history_bound_mb", EditorState::kHistoryPictures * pictureMB);
    figure("backdrops_peak_mb", peak.megabytes());
    figure("backdrops_idle_mb", editor.idleMB());
    return 0;
}

} // namespace

int runEditorMemoryPart(const QString& part, bool isnet)
{
    QTemporaryDir folder;
    if (part == QLatin1String("session"))
        return session(folder.path(), isnet);
    if (part == QLatin1String("handoffs"))
        return handOffs(folder.path(), isnet);
    if (part == QLatin1String("batch"))
        return batchRun(folder.path(), isnet);
    if (part == QLatin1String("backdrops"))
        return backdropClicks(folder.path(), isnet);
    std::fprintf(stderr, "unknown memory part %s\n", qPrintable(part));
    return 2;
}

} // namespace zephrin::bench
