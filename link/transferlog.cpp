#include "transferlog.h"

#include <QDateTime>

namespace qx {

bool TransferLog::begin(const QString &path, bool append, QString *error) {
    end();
    m_file.setFileName(path);
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | QIODevice::Text | (append ? QIODevice::Append : QIODevice::Truncate);
    if (!m_file.open(mode)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, m_file.errorString());
        return false;
    }
    m_clock.start();
    const QString now = QDateTime::currentDateTime().toString(Qt::ISODate);
    m_file.write(
        QStringLiteral("# qx7420 serial log begun %1; times in ms since then\n").arg(now).toUtf8());
    m_file.flush();
    return true;
}

void TransferLog::end() {
    if (m_file.isOpen())
        m_file.close();
}

void TransferLog::line(const QString &text) {
    if (!m_file.isOpen())
        return;
    m_file.write(QStringLiteral("%1 ms  %2\n").arg(m_clock.elapsed(), 7).arg(text).toUtf8());
    // Flushed line by line, so the log of a program that hangs or crashes is complete.
    m_file.flush();
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
