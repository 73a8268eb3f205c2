#pragma once

#include <QByteArray>
#include <QObject>
#include <QUndoStack>
#include <functional>
#include <optional>

namespace qx {

// Undo and redo of everything the window writes to the working file. A step holds the
// file's bytes before and after one user action; undo and redo put those bytes back and
// show them, writing nothing else. Steps stay until the program ends.
class EditHistory : public QObject {
    Q_OBJECT
public:
    struct Access {
        std::function<QByteArray()> read;              // the working file now; throws
        std::function<void(const QByteArray &)> write; // replaces it whole; throws
        std::function<void()> show;                    // loads it into the window; throws
    };

    explicit EditHistory(Access access, QObject *parent = nullptr);
    ~EditHistory() override;

    // Every store between the outermost begin and its end is one step (the window's
    // FileEdits::Step opens and closes one); an end without a change records nothing. end
    // never throws: a file that cannot be read back records no step.
    void begin();
    void end() noexcept;
    // A change made outside begin and end, such as a read from the radio.
    void record(const QByteArray &before, const QByteArray &after);
    // The file's bytes; nothing when it cannot be read.
    std::optional<QByteArray> snapshot() const noexcept;

    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    int count() const { return m_stack.count(); }
    // Forgets every step: the file holds bytes that none of them wrote.
    void clear() { m_stack.clear(); }
    // Throw qx::Error when the file cannot be written; the history then stays where it was.
    void undo();
    void redo();

signals:
    void changed();

private:
    void restore(const QByteArray &bytes);

    Access m_access;
    QUndoStack m_stack;
    int m_depth = 0;
    std::optional<QByteArray> m_before;
};

} // namespace qx
