#include "app/shell/DiscardedWork.h"

#include "engine/types/Plural.h"
#include "model/editor/EditorState.h"
#include "share/inbox/OriginalName.h"
#include "share/inbox/QueuedCopies.h"

#include <QStringList>

#include <algorithm>

namespace zephrin {

namespace {

// "a", "a and b", "a, b and c".
QString joined(const QStringList& parts)
{
    if (parts.size() <= 1)
        return parts.value(0);
    return QStringList(parts.mid(0, parts.size() - 1)).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           parts.last();
}

QString counted(int count, const QString& one, const QString& many)
{
    return count == 1 ? one : many.arg(count);
}

// What the document's edits are, in the order the questions name them.
QStringList editParts(const DocumentWork& work)
{
    QStringList parts;
    if (work.lineArtKey)
        parts << QStringLiteral("the Line art colour key");
    if (work.maskEdits > 0)
        parts << counted(work.maskEdits, QStringLiteral("your mask edit"), QStringLiteral("your %1 mask edits"));
    if (work.paintEdits > 0)
        parts << QStringLiteral("your paint");
    if (work.selectionCut)
        parts << QStringLiteral("the cutout made from your selection");
    if (work.tunedKey)
        parts << QStringLiteral("the colour key you tuned");
    return parts;
}

// What the composite is made of, in the order the questions name them.
QStringList compositeParts(const DocumentWork& work)
{
    QStringList parts;
    if (work.textLayers > 0)
        parts << counted(work.textLayers, QStringLiteral("the text layer"), QStringLiteral("%1 text layers"));
    if (work.backdrop)
        parts << QStringLiteral("the background");
    if (work.otherComposite)
        parts << QStringLiteral("the picture’s settings");
    return parts;
}

// "Clearing discards your paint, 2 text layers and the undo history."
QString discardsSentence(const QString& action, const DocumentWork& work)
{
    QStringList lost = editParts(work) + compositeParts(work);
    if (work.history)
        lost << QStringLiteral("the undo history");
    return action + QStringLiteral(" discards ") + joined(lost) + u'.';
}

// "The sticker sheet and 2 batch results are not saved in any file. Quitting
// discards them." After a sentence about the document (`more`): "… are not
// saved in any file either; quitting discards them too."
QString unsavedSentence(const UnsavedResults& results, const QString& action, bool more)
{
    QStringList parts;
    if (results.sheet)
        parts << QStringLiteral("The sticker sheet");
    if (results.batchResults > 0)
        parts << plural::count(results.batchResults, u"batch result");
    if (results.sharedImages > 0)
        parts << plural::count(results.sharedImages, u"shared image");
    const bool plural = parts.size() > 1 || results.batchResults > 1 || results.sharedImages > 1;
    const QString them = plural ? QStringLiteral("them") : QStringLiteral("it");
    return joined(parts) + (plural ? QStringLiteral(" are") : QStringLiteral(" is")) +
           (more ? QStringLiteral(" not saved in any file either; ") + action + QStringLiteral(" discards ") + them +
                       QStringLiteral(" too.")
                 : QStringLiteral(" not saved in any file. ") + action + QStringLiteral(" discards ") + them + u'.');
}

} // namespace

bool DocumentWork::lostByReplacing() const
{
    return lineArtKey || maskEdits > 0 || paintEdits > 0 || history || selectionCut || tunedKey;
}

bool DocumentWork::lostByClearing() const
{
    return lostByReplacing() || textLayers > 0 || backdrop || otherComposite;
}

DocumentWork documentWork(const EditorState& editor)
{
    DocumentWork work;
    if (!editor.document())
        return work;
    work.lineArtKey = editor.lineArtKeyLeads();
    work.maskEdits = int(editor.maskOps().size()) - (work.lineArtKey ? 1 : 0);
    work.paintEdits = int(editor.paintOps().size());
    work.history = editor.undoCount() > 0 || editor.redoCount() > 0;
    const bool matte = editor.matte().has_value();
    work.selectionCut = matte && editor.matteOrigin() == MatteOrigin::selection;
    work.tunedKey = matte && editor.matteOrigin() == MatteOrigin::tunedKey;

    const CompositeSettings& comp = editor.comp();
    const CompositeSettings plain = EditorState::defaultCompositeSettings();
    work.textLayers = int(comp.texts.size());
    work.backdrop = comp.backgroundMode != plain.backgroundMode || editor.hasBackgroundPicture();
    CompositeSettings rest = comp;
    rest.texts = plain.texts;
    rest.backgroundMode = plain.backgroundMode;
    rest.backgroundColor = plain.backgroundColor;
    work.otherComposite = rest != plain;
    work.cutoutSettings = editor.matteSettings() != MatteSettings{};
    return work;
}

QString replaceDetail(const DocumentWork& work, const QString& incomingName)
{
    QStringList lost = editParts(work);
    if (work.history)
        lost << QStringLiteral("the undo history");
    const QString opening = incomingName.isEmpty()
        ? QStringLiteral("Opening the shared image")
        : QStringLiteral("Opening “%1”").arg(incomingName);
    QString sentence = opening + QStringLiteral(" discards ") + joined(lost) + u'.';

    QStringList kept = compositeParts(work);
    if (work.cutoutSettings)
        kept << QStringLiteral("your cutout settings");
    if (!kept.isEmpty()) {
        // Only "the text layer" and "the background" are singular.
        const bool plural = kept.size() > 1 || work.textLayers > 1 || work.otherComposite || work.cutoutSettings;
        QString carried = joined(kept);
        carried[0] = carried[0].toUpper();
        sentence += u' ' + carried + (plural ? QStringLiteral(" carry over.") : QStringLiteral(" carries over."));
    }
    return sentence;
}

QString clearDetail(const DocumentWork& work)
{
    return discardsSentence(QStringLiteral("Clearing"), work);
}

UnsavedResults unsavedResults(const EditorState& editor)
{
    UnsavedResults results;
    results.sheet = editor.sheetHasUnsavedWork();
    // The results Export All would write that no export has written yet: a
    // failed file's older result is no longer one of them.
    results.batchResults = editor.batch()->unsavedResultCount();
    // A hand-off whose shared file still exists is not lost with its copy.
    if (const std::optional<QString> queued = queuedCopiesFolder()) {
        for (const BatchItem& item : editor.batch()->itemsInOrder()) {
            const QString path = item.url.toLocalFile();
            if (isQueuedCopy(*queued, path) && !originExists(path))
                ++results.sharedImages;
        }
    }
    return results;
}

QString quitDetail(const DocumentWork& work, const UnsavedResults& results)
{
    if (!work.lostByClearing())
        return unsavedSentence(results, QStringLiteral("Quitting"), false);
    QString sentence = discardsSentence(QStringLiteral("Quitting"), work);
    if (results.any())
        sentence += u' ' + unsavedSentence(results, QStringLiteral("quitting"), true);
    return sentence;
}

QString clearResultsDetail(const UnsavedResults& results)
{
    return unsavedSentence(results, QStringLiteral("Clearing"), false);
}

} // namespace zephrin
