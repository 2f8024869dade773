// The editor model on the real engines and worker pools, driven as a user
// would on a 12-megapixel photo with IS-Net already loaded:
//
//   import → first cutout, feather drag (10 moves 30 ms apart), background
//   colour, text layer, undo, export PNG at 2400
//
// For each step it prints the time from the action (for the drag: from the
// last move) until the new image is published, and the longest stall of the
// GUI thread meanwhile (the longest gap between two turns of its event loop,
// seen by a 2 ms heartbeat). Then it makes 30 history steps (mask strokes) and
// prints the peak memory of the process. Medians over the repetitions; nothing
// is asserted.
//
// Targets: first cutout ≤ 1.5 s, feather ≤ 0.5 s after the last move,
// background colour ≤ 0.3 s, undo ≤ 0.5 s, export ≤ 0.5 s, no stall over
// 50 ms, peak memory ≤ 2 GB.
//
// The photo is the sample that scripts/setup fetches (.cache/sample/coffee.png)
// stretched to 4000 × 3000, or, without it, a seeded synthetic scene.

#include "engine/isnet/CoreMLMatte.h"
#include "model/editor/EditorState.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <opencv2/core.hpp>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace zephrin;

namespace {

QImage photo()
{
    QImage sample(QStringLiteral(ZEPHRIN_SOURCE_DIR "/.cache/sample/coffee.png"));
    if (!sample.isNull())
        return sample.scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage scene(4000, 3000, QImage::Format_RGB32);
    cv::Mat noise(3000, 4000, CV_8UC4, scene.bits(), size_t(scene.bytesPerLine()));
    cv::RNG rng(20240611);
    rng.fill(noise, cv::RNG::UNIFORM, cv::Scalar(60, 90, 130, 255), cv::Scalar(80, 110, 160, 256));
    QPainter painter(&scene);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 236, 228));
    painter.drawEllipse(QRectF(1200, 700, 1600, 1500));
    painter.setBrush(QColor(120, 40, 30));
    painter.drawEllipse(QRectF(1450, 950, 1100, 1000));
    return scene;
}

// Watches the GUI thread: the longest gap between two heartbeats since reset().
class StallMeter {
public:
    StallMeter()
    {
        m_beat.setTimerType(Qt::PreciseTimer);
        m_beat.setInterval(2);
        QObject::connect(&m_beat, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_last = m_clock.nsecsElapsed();
        m_beat.start();
    }
    void reset()
    {
        m_last = m_clock.nsecsElapsed();
        m_longest = 0;
    }
    double longestMs() const { return std::max<qint64>(0, m_longest) / 1e6; }

private:
    QTimer m_beat;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// Runs the event loop for `ms` milliseconds.
void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds (or a minute passes).
void spinUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 60000) {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

struct StepResult {
    double publishedMs = -1;
    double stallMs = 0;
};

// Starts the step at `start`, waits until the editor is idle with a new image
// published, then watches a little longer for a later publication (a text
// draw that follows the composite) and reports the last one.
StepResult measure(EditorState& editor, StallMeter& stalls, const std::function<void()>& action,
                   const std::function<bool()>& published)
{
    QElapsedTimer clock;
    double last = -1;
    const auto connection = QObject::connect(&editor, &EditorState::compositeChanged, [&] {
        last = clock.nsecsElapsed() / 1e6;
    });
    stalls.reset();
    clock.start();
    action();
    spinUntil([&] { return !editor.isProcessing() && published(); });
    spin(300);
    QObject::disconnect(connection);
    StepResult result;
    result.publishedMs = published() ? std::max(last, 0.0) : -1;
    result.stallMs = stalls.longestMs();
    return result;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("IS-Net.debug=false\nIS-Net.info=false"));
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    QTemporaryDir dir;
    const QString photoPath = dir.filePath(QStringLiteral("photo.jpg"));
    photo().save(photoPath, "JPEG", 90);
    const QUrl photoUrl = QUrl::fromLocalFile(photoPath);

    const bool isnet = CoreMLMatte::isAvailable();
    if (isnet)
        CoreMLMatte::shared().loadModel();
    std::printf("bench_editor: 4000 x 3000 photo, %s, %d repetitions\n",
                isnet ? "IS-Net loaded" : "no IS-Net model: Subject Lift", repetitions);

    StallMeter stalls;
    const std::vector<std::string> steps{"import -> first cutout", "feather drag (from last move)",
                                         "background colour", "text layer", "undo", "export PNG 2400"};
    std::map<std::string, std::vector<double>> published;
    std::map<std::string, double> longestStall;

    for (int run = 0; run < repetitions; ++run) {
        EditorServices services;
        services.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        services.shareFolder = dir.filePath(QStringLiteral("share"));
        EditorState editor(services);
        editor.setMatteModel(isnet ? MatteModel::isnet : MatteModel::apple);
        std::map<std::string, StepResult> results;

        results[steps[0]] = measure(
            editor, stalls, [&] { editor.importImage(photoUrl); }, [&] { return editor.composite().has_value(); });

        // Ten moves 30 ms apart; the time counts from the last one.
        {
            const auto before = editor.cutout()->generation();
            StepResult drag;
            QElapsedTimer clock;
            double lastPublish = -1;
            const auto connection = QObject::connect(&editor, &EditorState::compositeChanged,
                                                     [&] { lastPublish = clock.nsecsElapsed() / 1e6; });
            stalls.reset();
            for (int move = 1; move <= 10; ++move) {
                editor.setFeather(0.6 + 0.4 * move);
                if (move < 10)
                    spin(30);
            }
            clock.start();
            spinUntil([&] { return !editor.isProcessing() && editor.cutout()->generation() != before; });
            spin(300);
            QObject::disconnect(connection);
            drag.publishedMs = lastPublish;
            drag.stallMs = stalls.longestMs();
            results[steps[1]] = drag;
        }

        results[steps[2]] = measure(
            editor, stalls,
            [&] {
                editor.setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
            },
            [&] { return editor.compositeBase()->generation() != editor.cutout()->generation(); });

        results[steps[3]] = measure(
            editor, stalls, [&] { editor.addTextLayer(); },
            [&] { return editor.composite()->generation() != editor.compositeBase()->generation(); });

        // A history step to undo: the edge mode.
        editor.setEdgeMode(EdgeRefineMode::detail);
        spinUntil([&] { return !editor.isProcessing(); });
        spin(300);
        const auto beforeUndo = editor.cutout()->generation();
        results[steps[4]] = measure(
            editor, stalls, [&] { editor.undo(); },
            [&] { return editor.cutout()->generation() != beforeUndo; });

        {
            editor.setExportFormat(ExportFormat::png);
            editor.setExportLongEdge(2400);
            QElapsedTimer clock;
            stalls.reset();
            clock.start();
            editor.exportImage();
            spinUntil([&] { return editor.exportFile().has_value() && !editor.isProcessing(); });
            results[steps[5]] = {clock.nsecsElapsed() / 1e6, stalls.longestMs()};
        }

        for (const std::string& step : steps) {
            published[step].push_back(results[step].publishedMs);
            longestStall[step] = std::max(longestStall[step], results[step].stallMs);
        }

        // Thirty history steps of mask strokes on the last run, for the memory figure.
        if (run == repetitions - 1) {
            editor.setCanvasTool(CanvasTool::erase);
            for (int i = 0; i < 30; ++i) {
                editor.commitMaskStroke(EditorState::Points{{100.0 + 10 * i, 100}, {200.0 + 10 * i, 300}});
                spinUntil([&] { return !editor.isProcessing(); });
            }
            std::printf("history steps: %d\n", editor.undoCount());
        }
    }

    std::printf("%-32s %14s %18s\n", "step", "published (ms)", "longest stall (ms)");
    for (const std::string& step : steps)
        std::printf("%-32s %14.0f %18.1f\n", step.c_str(), median(published[step]), longestStall[step]);
    std::printf("peak memory: %ld MB\n", peakMegabytes());
    return 0;
}
