// EditorState: the picture behind the subject, from a generated backdrop, the
// photo library or My Backgrounds. These and a picture of the user's own
// (import with the background target) share one slot: a new choice cancels
// the job before it, and only the newest choice's picture lands. backdropID
// follows the click at once; when a choice fails it returns to the backdrop
// whose picture is still shown.

#include "model/editor/EditorState.h"

#include "model/editor/EditorStateWork.h"
#include "model/engines/EditorEngines.h"

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {
const QString kBackdropFailure = QStringLiteral("Couldn't create that backdrop.");
}

void EditorState::selectBackdrop(const Backdrop& backdrop)
{
    if (!m_document)
        return;
    setBackdropID(backdrop.id);
    // The document's aspect at a long edge of 2400, never below 64 a side.
    const double w = m_document->width();
    const double h = m_document->height();
    const double s = 2400 / std::max(std::max(w, h), 1.0);
    const int width = std::max(int(std::lround(s * w)), 64);
    const int height = std::max(int(std::lround(s * h)), 64);

    const TaskSlot::Ticket ticket = beginTask(m_backdropTask, QStringLiteral("Painting backdrop…"));
    auto recipe = std::make_shared<const BackdropRecipe>(BackdropRecipe{backdrop, width, height});
    runTask(
        m_backdropTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, recipe] { return engines->renderBackdrop(recipe->backdrop, recipe->width, recipe->height); },
        [this, recipe](const Outcome<std::optional<Image>>& rendered) {
            applyBackdropResult(rendered.ok() ? *rendered.value : std::nullopt, recipe->backdrop.id,
                                kBackdropFailure, recipe);
        });
}

// Undo or redo brought back a generated backdrop whose pixels history had let
// go: the same render again, under the picture's own name. The composite waits
// for it; a render that fails leaves the last composite on screen, as a
// failed composite does.
void EditorState::remakeBackground()
{
    const BackdropPicture picture = *m_background;
    const TaskSlot::Ticket ticket = beginTask(m_backdropTask, QStringLiteral("Painting backdrop…"));
    runTask(
        m_backdropTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, recipe = picture.recipe] {
            return engines->renderBackdrop(recipe->backdrop, recipe->width, recipe->height);
        },
        [this, picture](const Outcome<std::optional<Image>>& rendered) {
            if (!m_background || m_background->generation != picture.generation)
                return;
            if (!rendered.ok() || !*rendered.value || (*rendered.value)->empty()) {
                setLastError(kBackdropFailure);
                return;
            }
            BackdropPicture made = picture;
            made.pixels = ImageBox(**rendered.value, picture.generation);
            setBackground(std::move(made));
            recomposite(true);
        });
}

void EditorState::selectPhotoBackdrop(const PhotoBackdrop& photo)
{
    const QString id = QStringLiteral("photo:") + photo.id;
    setBackdropID(id);
    const TaskSlot::Ticket ticket = beginTask(m_backdropTask, QStringLiteral("Downloading photo…"));
    awaitTask(m_backdropTask, ticket, m_engines->photoBackdrop(photo.id),
              [this, id](const std::optional<Image>& picture) {
                  applyBackdropResult(picture, id,
                                      QStringLiteral("Couldn't download that photo. Check your internet connection."));
              });
}

void EditorState::selectMyBackground(const MyBackground& background)
{
    const QString id = QStringLiteral("my:") + background.id;
    setBackdropID(id);
    const TaskSlot::Ticket ticket = beginTask(m_backdropTask, std::nullopt);
    awaitTask(m_backdropTask, ticket, m_engines->savedBackground(background.id),
              [this, id](const std::optional<Image>& picture) {
                  applyBackdropResult(picture, id, QStringLiteral("Couldn't open that background."));
              });
}

void EditorState::applyBackdropResult(const std::optional<Image>& picture, const QString& id, const QString& failure,
                                      std::shared_ptr<const BackdropRecipe> recipe)
{
    if (!picture || picture->empty()) {
        setLastError(failure);
        setBackdropID(m_shownBackdropID);
        return;
    }
    const HistoryGroup step(*this);
    setBackground(BackdropPicture::of(ImageBox(*picture), std::move(recipe)));
    m_shownBackdropID = id;
    CompositeSettings settings = m_comp;
    settings.backgroundMode = BackgroundMode::image;
    setComp(settings);
    recomposite(true);
}

void EditorState::selectBackdrop(const QString& id)
{
    if (id == QLatin1String("custom")) {
        selectBackdrop(customBackdrop());
        return;
    }
    const auto& presets = Backdrop::presets();
    const auto found = std::find_if(presets.begin(), presets.end(), [&](const Backdrop& b) { return b.id == id; });
    if (found != presets.end())
        selectBackdrop(*found);
}

void EditorState::selectPhotoBackdrop(const QString& photoID)
{
    if (!photoID.isEmpty())
        selectPhotoBackdrop(PhotoBackdrop{photoID, {}, {}});
}

void EditorState::selectMyBackground(const QString& backgroundID)
{
    if (backgroundID.isEmpty())
        return;
    MyBackground background;
    background.id = backgroundID;
    selectMyBackground(background);
}

Backdrop EditorState::customBackdrop() const
{
    return Backdrop::custom(m_customBackdropA, m_customBackdropB, m_customBackdropShape);
}

} // namespace zephrin
