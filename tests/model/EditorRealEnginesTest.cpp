// The editor on the real engines and worker pools, as the application runs it.

#include "model/editor/EditorState.h"
#include "model/engines/EditorEngines.h"
#include "support/GuiApplication.h"
#include "support/ProductShot.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace zephrin::testing {

namespace {

template <typename Condition>
bool waitUntil(Condition done, std::chrono::milliseconds timeout = std::chrono::seconds(60))
{
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.start(5);
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

} // namespace

TEST(EditorOnRealEngines, CutsOutRefinesAndExportsAProductShot)
{
    ensureGuiApplication();
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("product.png"));
    ASSERT_TRUE(toQImage(productOnSheet({480, 360}, 7)).save(photo));

    EditorServices services;
    services.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    services.shareFolder = dir.filePath(QStringLiteral("share"));
    EditorState editor(services);
    editor.setMatteModel(MatteModel::apple);  // the subject lift: no model file needed

    editor.importImage(QUrl::fromLocalFile(photo));
    ASSERT_TRUE(waitUntil([&] { return editor.composite() && !editor.isProcessing(); }));
    EXPECT_TRUE(editor.lastError().isEmpty()) << editor.lastError().toStdString();
    const double fill = editor.subjectBoundsSize().width() / 480.0;
    EXPECT_GT(fill, 0.15);
    EXPECT_LT(fill, 0.9);

    const auto cutout = editor.cutout()->generation();
    editor.setFeather(4);
    ASSERT_TRUE(waitUntil([&] { return editor.cutout()->generation() != cutout && !editor.isProcessing(); }));

    editor.setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    ASSERT_TRUE(waitUntil([&] { return editor.compositeBase()->generation() != editor.cutout()->generation() &&
                                       !editor.isProcessing(); }));

    editor.exportImage();
    ASSERT_TRUE(waitUntil([&] { return editor.exportFile().has_value(); }));
    EXPECT_TRUE(editor.exportFile()->data.startsWith("\x89PNG"));
}

} // namespace zephrin::testing
