#include "transferlog.h"

#include "error.h"
#include "filelimits.h"

#include <QDateTime>
#include <QDir>

namespace qx {

bool TransferLog::begin(const QString &path, bool append, QString *error) {
    end();
    m_failure.clear();
    m_file.setFileName(path);
    try {
        // A pipe would block the open, a device takes the log nowhere.
        checkOutputFile(path);
    } catch (const Error &e) {
        m_failure = e.message();
        if (error)
            *error = m_failure;
        return false;
    }
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Text |
                                     QIODevice::Unbuffered |
                                     (append ? QIODevice::Append : QIODevice::Truncate);
    if (!m_file.open(mode)) {
        m_failure = QStringLiteral("%1: %2").arg(path, m_file.errorString());
        if (error)
            *error = m_failure;
        return false;
    }
    m_clock.start();
    const QString now = QDateTime::currentDateTime().toString(Qt::ISODate);
    put(QStringLiteral("# qx7420 serial log begun %1; times in ms since then\n").arg(now).toUtf8());
    if (!m_failure.isEmpty()) {
        if (error)
            *error = m_failure;
        return false;
    }
    return true;
}

void TransferLog::end() {
    if (m_file.isOpen())
        m_file.close();
}

void TransferLog::line(const QString &text) {
    if (!m_file.isOpen())
        return;
    put(QStringLiteral("%1 ms  %2\n").arg(m_clock.elapsed(), 7).arg(text).toUtf8());
}

void TransferLog::put(const QByteArray &text) {
    // Unbuffered and line by line, so the log of a program that hangs or crashes is
    // complete, and a full disk shows at the line it hit with its reason: a short write is
    // continued until the system says why it stopped.
    for (qint64 done = 0; done < text.size();) {
        const qint64 n = m_file.write(text.constData() + done, text.size() - done);
        if (n <= 0) {
            m_failure = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_file.fileName()),
                                                     m_file.errorString());
            m_file.close();
            return;
        }
        done += n;
    }
}

void TransferLog::bytes(const QString &device, const QString &step, const char *direction,
                        const char *data, int count) {
    for (int i = 0; i < count; ++i) {
        const auto byte = std::uint8_t(data[i]);
        QString text =
            QStringLiteral("%1  %2  %3 %4")
                .arg(device, step, QLatin1String(direction),
                     QString::number(byte, 16).rightJustified(2, QLatin1Char('0')).toUpper());
        if (byte > 0x20 && byte < 0x7F)
            text += QStringLiteral(" ") + QLatin1Char(char(byte));
        line(text);
    }
}

} // namespace qx
