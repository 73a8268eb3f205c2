#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>

namespace qx {

// A log file of serial traffic for bug reports: every byte sent and received on a line
// of its own, with the milliseconds since the log began, the device and the step.
class TransferLog {
public:
    // Starts the file afresh (or adds to it) and restarts the clock; false with the
    // reason when it cannot be written. A pipe, a device or a folder is refused.
    bool begin(const QString &path, bool append, QString *error = nullptr);
    void end();
    bool active() const { return m_file.isOpen(); }
    // A log is written as it goes, so it cannot be replaced whole: a begin that failed or
    // the first line that did not reach the file (a full disk) is remembered here, "path:
    // reason"; empty while every line did. The log stops at that line.
    const QString &failure() const { return m_failure; }
    // A line of its own: "   123 ms  text".
    void line(const QString &text);
    void bytes(const QString &device, const QString &step, const char *direction, const char *data,
               int count);

private:
    void put(const QByteArray &text);

    QFile m_file;
    QElapsedTimer m_clock;
    QString m_failure;
};

} // namespace qx
