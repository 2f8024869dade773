// A batch as the application runs it: the real engines with the IS-Net model,
// the worker pools, five image files of which two are broken, and the results
// written into a folder.

#include "content/support/Waiting.h"
#include "engine/isnet/ModelResource.h"
#include "engine/pixel/Image.h"
#include "model/batch/BatchState.h"
#include "model/editor/EditorState.h"
#include "support/GuiApplication.h"
#include "support/ProductShot.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace zephrin::testing {

namespace {

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST(BatchOnRealEngines, CutsFiveFilesWithTheModelAndWritesTheThreeThatWork)
{
    ensureGuiApplication();
    QTemporaryDir dir;
    const QDir sample(QStringLiteral(ZEPHRIN_SAMPLE_DIR));
    ASSERT_TRUE(sample.exists(QStringLiteral("coffee.png"))) << "no sample photos: run scripts/setup";

    // Three pictures: the sample photo, a smaller JPEG of the second sample
    // photo, and a seeded product shot.
    const QString coffee = sample.filePath(QStringLiteral("coffee.png"));
    QImageReader elephants(sample.filePath(QStringLiteral("elephants.jpg")));
    elephants.setScaledSize(elephants.size().scaled(1200, 1200, Qt::KeepAspectRatio));
    const QString elephantsSmall = dir.filePath(QStringLiteral("elephants.jpg"));
    ASSERT_TRUE(elephants.read().save(elephantsSmall, "JPEG", 90));
    const QString product = dir.filePath(QStringLiteral("product.png"));
    ASSERT_TRUE(toQImage(productOnSheet({900, 700}, 11)).save(product));
    // Two broken ones: a JPEG cut off after its first kilobytes, and text.
    QFile whole(elephantsSmall);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QString cutOff = dir.filePath(QStringLiteral("cut-off.jpg"));
    ASSERT_TRUE(writeBytes(cutOff, whole.read(2000)));
    const QString text = dir.filePath(QStringLiteral("notes.png"));
    ASSERT_TRUE(writeBytes(text, "these are notes, not a picture\n"));

    ASSERT_TRUE(isnetModelPath()) << "no ISNetGeneral.onnx: run scripts/setup";
    EditorServices services;
    services.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    services.shareFolder = dir.filePath(QStringLiteral("share"));
    EditorState editor(services);
    editor.setMatteModel(MatteModel::isnet);
    BatchState& batch = *editor.batch();

    batch.add({QUrl::fromLocalFile(coffee), QUrl::fromLocalFile(cutOff), QUrl::fromLocalFile(elephantsSmall),
               QUrl::fromLocalFile(text), QUrl::fromLocalFile(product)});
    ASSERT_EQ(batch.total(), 5);
    batch.start(editor);
    ASSERT_TRUE(waitUntil([&] { return batch.didFinish(); }, 180s));
    EXPECT_FALSE(batch.isRunning());
    EXPECT_EQ(batch.doneCount(), 3);
    EXPECT_EQ(batch.failedCount(), 2);

    const auto& items = batch.itemsInOrder();
    for (std::size_t i : {std::size_t(1), std::size_t(3)}) {
        EXPECT_EQ(items[i].status.kind, BatchItemStatus::Kind::failed) << i;
        EXPECT_FALSE(items[i].status.message.isEmpty());
        EXPECT_FALSE(items[i].output);
    }
    for (std::size_t i : {std::size_t(0), std::size_t(2), std::size_t(4)}) {
        ASSERT_EQ(items[i].status.kind, BatchItemStatus::Kind::done) << items[i].status.message.toStdString();
        ASSERT_TRUE(items[i].output);
        EXPECT_EQ(items[i].output->fileExtension, QStringLiteral("png"));
        const QImage result = QImage::fromData(items[i].output->data, "PNG");
        ASSERT_FALSE(result.isNull());
        EXPECT_TRUE(result.hasAlphaChannel());
        // The subject is cut out: the corners are see-through, something is not.
        EXPECT_EQ(qAlpha(result.pixel(0, 0)), 0) << i;
        EXPECT_FALSE(items[i].sourceThumbnail.isNull());
        EXPECT_LE(std::max(items[i].resultThumbnail.width(), items[i].resultThumbnail.height()), 256);
    }

    const QString out = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    batch.saveAll(QUrl::fromLocalFile(out));
    ASSERT_TRUE(waitUntil([&] { return !batch.isSaving(); }));
    EXPECT_TRUE(batch.lastError().isEmpty()) << batch.lastError().toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
              (QStringList{"coffee-cutout.png", "elephants-cutout.png", "product-cutout.png"}));
}

} // namespace zephrin::testing
