#pragma once
// The batch queue the editor owns. It cuts files out with engines of its own,
// so a batch never waits for the editor's work nor the editor for the batch.

#include "engine/matte/MatteEngine.h"
#include "output/vector/Vectorizer.h"

#include <QObject>

namespace zephrin {

class BatchState : public QObject {
    Q_OBJECT

public:
    explicit BatchState(QObject* parent = nullptr) : QObject(parent) {}

    const MatteEngine& engine() const { return m_engine; }
    const Vectorizer& vectorizer() const { return m_vectorizer; }

private:
    MatteEngine m_engine;
    Vectorizer m_vectorizer;
};

} // namespace zephrin
