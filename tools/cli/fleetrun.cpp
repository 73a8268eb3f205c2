#include "fleetrun.h"

#include "loggingsio.h"
#include "routingsio.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

namespace qx::cli {

namespace {

constexpr int kBarWidth = 30;
constexpr int kRedrawMs = 50;

// One line per radio at the bottom of a terminal, redrawn in place; a note is printed
// above them. Nothing at all when stderr is not a terminal, so logs stay readable.
class ProgressBoard {
public:
    ProgressBoard(Console &console, int lines) : m_console(console), m_lines(lines) {
        m_timer.setInterval(kRedrawMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_dirty)
                draw();
        });
        if (m_console.errIsTerminal)
            m_timer.start();
    }
    void set(int line, const QString &text) {
        m_lines[line] = text;
        m_dirty = true;
    }
    void note(const QString &text) {
        hide();
        m_console.note(text);
        m_dirty = true;
    }
    // The notes and the report tell how each radio ended.
    void finish() {
        m_timer.stop();
        hide();
    }

private:
    void toTop() {
        if (m_shown && m_lines.size() > 1)
            m_console.err << QStringLiteral("\x1b[%1A").arg(m_lines.size() - 1);
        m_console.err << '\r';
    }
    void hide() {
        if (!m_shown)
            return;
        toTop();
        m_console.err << QStringLiteral("\x1b[J");
        m_console.err.flush();
        m_shown = false;
    }
    void draw() {
        toTop();
        for (int i = 0; i < m_lines.size(); ++i)
            m_console.err << m_lines[i] << QStringLiteral("\x1b[K")
                          << (i + 1 < m_lines.size() ? "\n" : "");
        m_console.err.flush();
        m_shown = true;
        m_dirty = false;
    }

    Console &m_console;
    QStringList m_lines;
    QTimer m_timer;
    bool m_shown = false;
    bool m_dirty = false;
};

QString bar(const QString &label, const QString &phase, int value, int maximum) {
    const int filled = maximum > 0 ? kBarWidth * std::clamp(value, 0, maximum) / maximum : 0;
    return QStringLiteral("%1 %2 [%3%4] %5/%6")
        .arg(label, phase.leftJustified(6))
        .arg(QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char('.')))
        .arg(value, 2)
        .arg(maximum);
}

QString recordList(const QList<int> &records, const QString &separator) {
    QStringList parts;
    for (int r : records)
        parts << QString::number(r);
    return parts.join(separator);
}

QString csvField(const QString &text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

} // namespace

QList<RadioReport> FleetRun::run(const QList<FleetRadio> &radios, TransferLog &log) {
    QStringList devices;
    int width = 0;
    for (const FleetRadio &radio : radios) {
        devices << radio.port.device;
        width = std::max(width, int(radio.port.given.size()));
    }
    // One port object for the bench: port n of the engine is the n-th radio's device.
    RoutingSio portSio([devices](int port) { return devices.value(port - 1); });
    LoggingSio sio(portSio, log);
    ProgressBoard board(m_console, int(radios.size()));
    const bool several = radios.size() > 1;

    QEventLoop loop;
    int running = int(radios.size());
    std::vector<std::unique_ptr<RadioRun>> runs;
    for (int i = 0; i < radios.size(); ++i) {
        const FleetRadio &radio = radios[i];
        const QString label = radio.port.given.leftJustified(width);
        const QString prefix = several ? radio.port.given + QStringLiteral(": ") : QString();
        runs.push_back(std::make_unique<RadioRun>(
            sio, i + 1, radio.port.device, radio.task,
            [&board, prefix](const QString &text) { board.note(prefix + text); }));
        RadioRun *run = runs.back().get();
        board.set(i, bar(label, QStringLiteral("start"), 0, 0));
        QObject::connect(run, &RadioRun::progress,
                         [&board, i, label](const QString &phase, int value, int maximum) {
                             board.set(i, bar(label, phase, value, maximum));
                         });
        QObject::connect(run, &RadioRun::finished, &loop, [&, i, label, run] {
            board.set(i, QStringLiteral("%1 %2").arg(label, resultText(run->result())));
            if (--running == 0)
                loop.quit();
        });
    }
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!interruptRequested())
            return;
        poll.stop();
        for (auto &run : runs)
            run->interrupt();
    });
    poll.start();
    for (auto &run : runs)
        run->start();
    if (running > 0)
        loop.exec();
    board.finish();

    QList<RadioReport> reports;
    for (int i = 0; i < radios.size(); ++i) {
        const RadioRun &run = *runs[std::size_t(i)];
        reports << RadioReport{radios[i].port.given, radios[i].port.device, run.result(),
                               run.seconds(), run.differing()};
    }
    return reports;
}

QString reportLines(const QList<RadioReport> &reports) {
    int portWidth = 0, deviceWidth = 0, resultWidth = 0;
    for (const RadioReport &r : reports) {
        portWidth = std::max(portWidth, int(r.port.size()));
        deviceWidth = std::max(deviceWidth, int(r.device.size()));
        resultWidth = std::max(resultWidth, int(resultText(r.result).size()));
    }
    QString out;
    for (const RadioReport &r : reports) {
        QString line =
            QStringLiteral("%1  %2  %3  %4 s")
                .arg(r.port.leftJustified(portWidth), r.device.leftJustified(deviceWidth),
                     resultText(r.result).leftJustified(resultWidth))
                .arg(r.seconds, 5, 'f', 1);
        if (!r.differing.isEmpty())
            line +=
                QStringLiteral("  records %1").arg(recordList(r.differing, QStringLiteral(" ")));
        out += line + QLatin1Char('\n');
    }
    return out;
}

QString reportCsv(const QList<RadioReport> &reports) {
    QString out = QStringLiteral("port,device,result,seconds,differing_records\n");
    for (const RadioReport &r : reports)
        out += QStringList{csvField(r.port), csvField(r.device), resultText(r.result),
                           QString::number(r.seconds, 'f', 2),
                           recordList(r.differing, QStringLiteral(" "))}
                   .join(QLatin1Char(',')) +
               QLatin1Char('\n');
    return out;
}

int fleetExitCode(const QList<RadioReport> &reports) {
    bool failed = false, otherThanVerify = false;
    for (const RadioReport &r : reports) {
        if (r.result == RadioResult::Stopped)
            return kExitInterrupted;
        failed = failed || r.result != RadioResult::Completed;
        otherThanVerify = otherThanVerify || (r.result != RadioResult::Completed &&
                                              r.result != RadioResult::VerifyDiffers);
    }
    return !failed ? kExitOk : otherThanVerify ? kExitNoRadio : kExitVerify;
}

} // namespace qx::cli
