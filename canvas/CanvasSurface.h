#pragma once
// The main canvas's input item: it fills the canvas region, says where the
// shown image lies in it (imageRect, for the image item, the overlay and the
// text handles), and turns the pointer into the tools' gestures. With the view
// tool a drag carries the result out as a PNG and a double-click toggles the
// pan tool. While it is on screen it filters its window's events: the scroll
// wheel and trackpad pinch zoom, Escape and Space (CanvasController).
//
// The filter goes on the window when the item is shown and comes off when it
// is hidden or leaves the window; Space held at that moment is let go. Qt
// calls the filter installed last first: filters that must see keys before
// the canvas (the text handles) are installed after it. The filter acts only
// on what belongs to the canvas (CanvasInputGate): no popup or menu is open,
// and the pointer or the focus is in it; a press on the canvas takes the
// keyboard focus.

#include "canvas/CanvasController.h"
#include "canvas/CanvasInputGate.h"
#include "canvas/DragOutHint.h"

#include <QImage>
#include <QPointer>
#include <QQuickItem>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace zephrin {

class CanvasSurface : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    // The editor (the Editor singleton).
    Q_PROPERTY(QObject* editor READ editorObject WRITE setEditorObject NOTIFY editorChanged)
    // The displayed image in the item's coordinates.
    Q_PROPERTY(QRectF imageRect READ imageRect NOTIFY mappingChanged)
    // The shown image's size in pixels.
    Q_PROPERTY(QSizeF imageSize READ imageSize NOTIFY mappingChanged)
    // The tool the pointer acts with ("View", "Pan", …).
    Q_PROPERTY(QString effectiveTool READ effectiveToolLabel NOTIFY effectiveToolChanged)
    // The compare view's two sides: the unedited document, and the result
    // (composite, else cutout); null when there is none.
    Q_PROPERTY(QImage originalImage READ originalImage NOTIFY imagesChanged)
    Q_PROPERTY(QImage resultImage READ resultImage NOTIFY imagesChanged)
    // Where the compare view puts them: the result as the canvas shows it
    // but without the pan, and the document through the inverse of the
    // result's composite frame, so that every document pixel lies at one
    // place on both sides (mirrored with the result when it is).
    Q_PROPERTY(QRectF compareResultRect READ compareResultRect NOTIFY mappingChanged)
    Q_PROPERTY(QRectF compareOriginalRect READ compareOriginalRect NOTIFY mappingChanged)
    Q_PROPERTY(bool compareOriginalMirrored READ compareOriginalMirrored NOTIFY mappingChanged)
    // The canvas and what is drawn over it, where the pointer and the focus
    // count as in the canvas; the item itself when unset.
    Q_PROPERTY(QQuickItem* inputArea READ inputArea WRITE setInputArea NOTIFY inputAreaChanged)
    // Whether the window's events pass through the canvas now.
    Q_PROPERTY(bool filtering READ filtering NOTIFY filteringChanged)
    // Whether a press on the image may drag the result out (dragOutOffered).
    Q_PROPERTY(bool offersDragOut READ offersDragOut NOTIFY offersDragOutChanged)
    // The drag-out hint (DragOutHint): whether it shows, and where the
    // pointer rested, in the item's coordinates.
    Q_PROPERTY(bool dragOutHintShown READ dragOutHintShown NOTIFY dragOutHintChanged)
    Q_PROPERTY(QPointF dragOutHintAt READ dragOutHintAt NOTIFY dragOutHintChanged)

public:
    explicit CanvasSurface(QQuickItem* parent = nullptr);
    ~CanvasSurface() override;

    QObject* editorObject() const;
    void setEditorObject(QObject* editor);
    QRectF imageRect() const;
    QSizeF imageSize() const;
    QString effectiveToolLabel() const;
    QImage originalImage() const;
    QImage resultImage() const;
    QRectF compareResultRect() const;
    QRectF compareOriginalRect() const;
    bool compareOriginalMirrored() const;
    bool filtering() const { return !m_filteredWindow.isNull(); }
    // Whether files dropped on the canvas may open now (CanvasInputGate).
    Q_INVOKABLE bool takesDrops() const { return m_gate.takesDrops(); }
    bool offersDragOut() const;
    bool dragOutHintShown() const { return m_hint.shown(); }
    QPointF dragOutHintAt() const { return m_hint.at(); }
    // The controller (null without an editor).
    CanvasController* controller() const { return m_controller.get(); }
    ViewMapping mapping() const;
    QQuickItem* inputArea() const { return m_gate.area(); }
    void setInputArea(QQuickItem* area);

    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void editorChanged();
    void mappingChanged();
    void effectiveToolChanged();
    void filteringChanged();
    void inputAreaChanged();
    void imagesChanged();
    void offersDragOutChanged();
    void dragOutHintChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseUngrabEvent() override;
    void hoverMoveEvent(QHoverEvent* event) override;
    void hoverLeaveEvent(QHoverEvent* event) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;
    void componentComplete() override;

private:
    void updateFilter();
    void removeFilter();
    bool viewTool() const;
    bool handleKey(QEvent* event);
    // The pointer over the image where the hint may show: the window's last
    // event put it there, no button is held, no popup is open and the tool
    // drags out.
    std::optional<QPointF> hintPointer() const;
    void updateHint();
    // Once the event being handled has had its effect (a key or a focus
    // change may have opened a popup over the canvas), the hint closes where
    // it no longer may show; only the pointer's coming to rest opens it.
    void closeHintLaterIfCovered();
    void closeHintIfCovered();
    void hintRested();

    QPointer<EditorState> m_editor;
    std::unique_ptr<CanvasController> m_controller;
    QPointer<QQuickWindow> m_filteredWindow;
    // The filtered window's focus moving, which a popup opening over the
    // canvas (the export sheet, a question) does without a pointer event.
    QMetaObject::Connection m_focusWatch;
    QList<QMetaObject::Connection> m_connections;
    // The view tool's press, until it becomes a drag-out or ends.
    std::optional<QPointF> m_viewPress;
    CanvasInputGate m_gate;
    DragOutHint m_hint;
    QTimer m_hintTimer;
    double m_pinch = 1;
};

} // namespace zephrin
