#include "edithistory.h"

#include <QUndoCommand>
#include <utility>

namespace qx {

namespace {

// The history writes the bytes itself, before it moves the stack, so that a file that
// cannot be written leaves the stack where it was.
class ImageStep : public QUndoCommand {
public:
    ImageStep(QByteArray before, QByteArray after)
        : m_before(std::move(before)), m_after(std::move(after)) {}
    const QByteArray &before() const { return m_before; }
    const QByteArray &after() const { return m_after; }
    void undo() override {}
    void redo() override {}

private:
    QByteArray m_before;
    QByteArray m_after;
};

} // namespace

EditHistory::EditHistory(Access access, QObject *parent)
    : QObject(parent), m_access(std::move(access)) {
    connect(&m_stack, &QUndoStack::indexChanged, this, &EditHistory::changed);
}

EditHistory::~EditHistory() {
    // The stack clears itself as it goes: nobody is to hear of that.
    disconnect(&m_stack, nullptr, this, nullptr);
}

std::optional<QByteArray> EditHistory::snapshot() const noexcept {
    try {
        return m_access.read();
    } catch (...) {
        return std::nullopt;
    }
}

void EditHistory::begin() {
    if (m_depth++ == 0)
        m_before = snapshot();
}

void EditHistory::end() noexcept {
    if (m_depth == 0 || --m_depth > 0)
        return;
    const std::optional<QByteArray> after = snapshot();
    if (m_before && after)
        record(*m_before, *after);
    m_before.reset();
}

void EditHistory::record(const QByteArray &before, const QByteArray &after) {
    if (before == after)
        return;
    m_stack.push(new ImageStep(before, after));
}

void EditHistory::restore(const QByteArray &bytes) {
    m_access.write(bytes);
}

void EditHistory::undo() {
    if (!canUndo())
        return;
    const auto *step = static_cast<const ImageStep *>(m_stack.command(m_stack.index() - 1));
    restore(step->before());
    m_stack.undo();
    m_access.show();
}

void EditHistory::redo() {
    if (!canRedo())
        return;
    const auto *step = static_cast<const ImageStep *>(m_stack.command(m_stack.index()));
    restore(step->after());
    m_stack.redo();
    m_access.show();
}

} // namespace qx
