#pragma once
// The window's commands over the one EditorState: what the menus, the
// toolbar, the sidebar, the export button and the status bar show and do.
// The QML binds to these properties and calls these operations; every rule
// and every text lives here, where the unit tests reach it without a window.

#include "app/shell/CommandRules.h"
#include "pickers/backdrops/FileReveal.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

namespace zephrin {

class EditorState;

class WindowCommands : public QObject {
    Q_OBJECT
    // Enabled states (CommandRules.h).
    Q_PROPERTY(bool canExport READ canExport NOTIFY statesChanged)
    Q_PROPERTY(bool canClear READ canClear NOTIFY statesChanged)
    Q_PROPERTY(bool canCopyResult READ canCopyResult NOTIFY statesChanged)
    Q_PROPERTY(bool canRunCutout READ canRunCutout NOTIFY statesChanged)
    Q_PROPERTY(bool canReset READ canReset NOTIFY statesChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY statesChanged)
    Q_PROPERTY(bool canRedo READ canRedo NOTIFY statesChanged)
    Q_PROPERTY(bool canCompare READ canCompare NOTIFY statesChanged)
    Q_PROPERTY(bool canZoom READ canZoom NOTIFY statesChanged)
    Q_PROPERTY(bool exportButtonEnabled READ exportButtonEnabled NOTIFY statesChanged)
    Q_PROPERTY(bool sheetMode READ sheetMode NOTIFY statesChanged)
    // "Show Compare" or "Hide Compare".
    Q_PROPERTY(QString compareTitle READ compareTitle NOTIFY compareTitleChanged)
    // Status bar: the file name or "No image"; "W × H" or "—"; "→ W × H" when
    // the composite's size differs from the document's, else empty; the file
    // size or "—".
    Q_PROPERTY(QString documentName READ documentName NOTIFY statusChanged)
    Q_PROPERTY(QString documentSizeText READ documentSizeText NOTIFY statusChanged)
    Q_PROPERTY(QString compositeSizeText READ compositeSizeText NOTIFY statusChanged)
    Q_PROPERTY(QString fileSizeText READ fileSizeText NOTIFY statusChanged)
    // The picture the workspace shows: the composite, else the cutout, else the
    // document; null without a document.
    Q_PROPERTY(QImage displayImage READ displayImage NOTIFY displayImageChanged)
    // The sidebar's tools in their order: maps of tool (the EditorTool label),
    // label and symbol.
    Q_PROPERTY(QVariantList tools READ tools CONSTANT)
    // The formats the export button's menu offers, in order.
    Q_PROPERTY(QStringList exportFormats READ exportFormats CONSTANT)
    // The questions before clearing and quitting (see clearImage, askToQuit).
    Q_PROPERTY(bool askingToClear READ askingToClear NOTIFY questionsChanged)
    Q_PROPERTY(QString clearDetail READ clearDetail NOTIFY questionsChanged)
    Q_PROPERTY(bool askingToQuit READ askingToQuit NOTIFY questionsChanged)
    Q_PROPERTY(QString quitDetail READ quitDetail NOTIFY questionsChanged)
    // The question before the batch's "Clear all" or the sheet's "Clear
    // sheet" (see clearBatch, clearSheet).
    Q_PROPERTY(bool askingToClearBatch READ askingToClearBatch NOTIFY questionsChanged)
    Q_PROPERTY(bool askingToClearSheet READ askingToClearSheet NOTIFY questionsChanged)
    Q_PROPERTY(QString clearResultsDetail READ clearResultsDetail NOTIFY questionsChanged)

public:
    explicit WindowCommands(EditorState& editor, QObject* parent = nullptr);

    EditorFacts facts() const;
    CommandStates states() const { return m_states; }
    bool canExport() const { return m_states.canExport; }
    bool canClear() const { return m_states.canClear; }
    bool canCopyResult() const { return m_states.canCopyResult; }
    bool canRunCutout() const { return m_states.canRunCutout; }
    bool canReset() const { return m_states.canReset; }
    bool canUndo() const { return m_states.canUndo; }
    bool canRedo() const { return m_states.canRedo; }
    bool canCompare() const { return m_states.canCompare; }
    bool canZoom() const { return m_states.canZoom; }
    bool exportButtonEnabled() const { return m_states.exportButtonEnabled; }
    bool sheetMode() const { return m_sheetMode; }
    QString compareTitle() const;
    QString documentName() const;
    QString documentSizeText() const;
    QString compositeSizeText() const;
    QString fileSizeText() const;
    QImage displayImage() const;
    QVariantList tools() const;
    QStringList exportFormats() const;
    // The label and symbol of a tool ("cutout" → "Cutout", "square.dashed").
    Q_INVOKABLE QVariantMap toolInfo(const QString& tool) const;

    // Import: open the importer for a new document ("Import", "Import Image…",
    // the canvas). When the importer closes, with a file or
    // without, importerClosed() hands the file on; the target returns to the
    // document either way, so a later drop never lands as a backdrop.
    Q_INVOKABLE void importDocument();
    Q_INVOKABLE void importerClosed(const QUrl& file);
    // "Import Multiple…": the batch's importer, which takes many files into
    // the batch queue; batch mode comes on so the queue is in view.
    Q_INVOKABLE void importMultiple();
    // A file dropped on the workspace or named on the command line: opened as
    // the document, asking first when that discards work (IncomingFiles.h).
    Q_INVOKABLE void openFile(const QUrl& file);
    // Files dropped or named together: one opens as the document; several go
    // into the batch queue (batch mode comes on), and the document stays.
    Q_INVOKABLE void openFiles(const QList<QUrl>& files);
    // A tile of the batch: back to the editor, where its file opens as the
    // document (asking first when that discards work).
    Q_INVOKABLE void openBatchItem(const QUrl& file);

    // Export: the sheet, directly in a format, or the sticker sheet's files;
    // the save dialog's answer.
    Q_INVOKABLE void openExportSheet();
    Q_INVOKABLE void exportAs(const QString& format);
    Q_INVOKABLE void exportButtonPressed();
    Q_INVOKABLE void exportSheetPNG();
    Q_INVOKABLE void exportSheetCutSVG();
    // `replace` false: a file of that name stays (the dialog did not ask).
    Q_INVOKABLE void exporterClosed(const QUrl& file, bool replace = true);
    // "Share…": the result in the export settings, into the private share
    // folder, which the file manager then shows with the file selected; where
    // none can, the notice names the file in full and offers to copy its path.
    Q_INVOKABLE void share();
    // The notice's "Show in Folder": the saved file selected in its folder,
    // or the folder a batch went to (and where no file manager can, the same
    // offer of its path).
    Q_INVOKABLE void showNoticeInFolder();
    // How files are shown in the file manager (tests record it).
    void setFileReveal(FileReveal reveal) { m_reveal = std::move(reveal); }

    // Editing. "Clear Image" with work in the document (DiscardedWork.h)
    // raises askingToClear with its sentence in clearDetail; confirmClear()
    // clears, cancelClear() keeps the document.
    Q_INVOKABLE void clearImage();
    Q_INVOKABLE void confirmClear();
    Q_INVOKABLE void cancelClear();
    bool askingToClear() const { return m_askingToClear; }
    QString clearDetail() const { return m_clearDetail; }

    // Quitting: true, raising askingToQuit with its sentence in quitDetail,
    // when the document holds work (what clearing would discard), a sticker
    // sheet or batch results exist only in memory, or the batch holds shared
    // images that exist nowhere else (UnsavedResults); the window then stays
    // until the question is answered (confirmQuit() emits quitConfirmed).
    // False when the window may close at once.
    Q_INVOKABLE bool askToQuit();
    Q_INVOKABLE void confirmQuit();
    Q_INVOKABLE void cancelQuit();
    bool askingToQuit() const { return m_askingToQuit; }
    QString quitDetail() const { return m_quitDetail; }

    // The batch's "Clear all" and the sheet's "Clear sheet": with results, a
    // sheet or shared images that exist only here they raise askingToClearBatch or
    // askingToClearSheet with the sentence in clearResultsDetail, and
    // confirmClearResults() clears; otherwise they clear at once.
    Q_INVOKABLE void clearBatch();
    Q_INVOKABLE void clearSheet();
    Q_INVOKABLE void confirmClearResults();
    Q_INVOKABLE void cancelClearResults();
    bool askingToClearBatch() const { return m_clearingResults == ClearedResults::batch; }
    bool askingToClearSheet() const { return m_clearingResults == ClearedResults::sheet; }
    QString clearResultsDetail() const { return m_clearResultsDetail; }
    Q_INVOKABLE void runCutout();
    Q_INVOKABLE void resetToPlainCutout();
    Q_INVOKABLE void undo();
    Q_INVOKABLE void redo();
    Q_INVOKABLE void copyResult();
    // The pasteboard commands act on the focused text field when there is one;
    // "copy" without one copies the result.
    Q_INVOKABLE void copy(QObject* focusItem);
    Q_INVOKABLE void sendToFocus(QObject* focusItem, const QString& action);

    // View.
    Q_INVOKABLE void zoomIn();
    Q_INVOKABLE void zoomOut();
    Q_INVOKABLE void zoomToFit();
    Q_INVOKABLE void toggleCompare();

    // Sidebar.
    Q_INVOKABLE void selectTool(const QString& tool);
    Q_INVOKABLE void enterBatchMode();

signals:
    void statesChanged();
    void compareTitleChanged();
    void statusChanged();
    void displayImageChanged();
    void questionsChanged();
    void quitConfirmed();

private:
    void refreshStates();
    static bool isTextItem(const QObject* item);

    void revealShared();

    EditorState& m_editor;
    FileReveal m_reveal;
    CommandStates m_states;
    bool m_sheetMode = false;
    bool m_askingToClear = false;
    QString m_clearDetail;
    bool m_askingToQuit = false;
    QString m_quitDetail;
    enum class ClearedResults { none, batch, sheet };
    ClearedResults m_clearingResults = ClearedResults::none;
    QString m_clearResultsDetail;
};

} // namespace zephrin
