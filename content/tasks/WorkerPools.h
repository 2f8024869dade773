#pragma once
// The two worker pools of the content stores: one for work the user waits for
// (font downloads, full pictures, adding a background), one at lower priority
// for utility work (thumbnails, previews). Their sizes come from the thread
// budget (engine/threads/ThreadBudget.h).

class QThreadPool;

namespace zephrin {

QThreadPool* userInitiatedPool();
QThreadPool* utilityPool();

} // namespace zephrin
