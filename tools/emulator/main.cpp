// qx7420-emu: plays a QX-7420 radio on a pseudo-terminal until SIGTERM or SIGINT.
#include "radioemulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <utility>

namespace {

int fail(const QString &text) {
    std::fprintf(stderr, "qx7420-emu: %s\n", qPrintable(text));
    return 1;
}

bool parsePair(const QString &text, int *first, int *second) {
    const QStringList parts = text.split(QLatin1Char(':'));
    bool ok1 = false, ok2 = false;
    if (parts.size() == 2) {
        *first = parts[0].toInt(&ok1);
        *second = parts[1].toInt(&ok2);
    }
    return ok1 && ok2;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qx7420-emu"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays a QX-7420 radio on a pseudo-terminal. Prints the device to open, then answers "
        "until SIGTERM or SIGINT. Requests are numbered from 1; reply N answers request N."));
    parser.addHelpOption();
    const QCommandLineOption image(
        {QStringLiteral("image")},
        QStringLiteral("Load memory from a .dat image or a 1024-byte dump."),
        QStringLiteral("file"));
    const QCommandLineOption save({QStringLiteral("save")},
                                  QStringLiteral("At exit, save memory as a 1024-byte dump."),
                                  QStringLiteral("file"));
    const QCommandLineOption saveDat(
        {QStringLiteral("save-dat")},
        QStringLiteral("At exit, save memory as a 35-record .dat image."), QStringLiteral("file"));
    const QCommandLineOption link(
        {QStringLiteral("link")},
        QStringLiteral("Make a symbolic link to the device (removed at exit)."),
        QStringLiteral("path"));
    const QCommandLineOption log({QStringLiteral("log")},
                                 QStringLiteral("Print every received frame on stderr."));
    const QCommandLineOption byteTime(
        {QStringLiteral("byte-us")},
        QStringLiteral("Microseconds per byte on the line, both ways (default 1042, 9600 baud)."),
        QStringLiteral("us"), QStringLiteral("1042"));
    const QCommandLineOption think(
        {QStringLiteral("think")},
        QStringLiteral("Milliseconds the radio takes before each reply (default 0)."),
        QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption drop({QStringLiteral("drop")},
                                  QStringLiteral("Never send reply N (repeatable)."),
                                  QStringLiteral("N"));
    const QCommandLineOption silent({QStringLiteral("silent-from")},
                                    QStringLiteral("Answer nothing from request K on."),
                                    QStringLiteral("K"));
    const QCommandLineOption corrupt({QStringLiteral("corrupt")},
                                     QStringLiteral("Invert the first byte of reply N."),
                                     QStringLiteral("N"));
    const QCommandLineOption corruptStore(
        {QStringLiteral("corrupt-store")},
        QStringLiteral("Acknowledge write frame N but store its last byte inverted."),
        QStringLiteral("N"));
    const QCommandLineOption shortReply({QStringLiteral("short")},
                                        QStringLiteral("Send only the first K bytes of reply N."),
                                        QStringLiteral("N:K"));
    const QCommandLineOption late({QStringLiteral("late")},
                                  QStringLiteral("Start reply N MS milliseconds late."),
                                  QStringLiteral("N:MS"));
    const QCommandLineOption hangUp({QStringLiteral("hang-up")},
                                    QStringLiteral("Close the line when request N arrives."),
                                    QStringLiteral("N"));
    const QCommandLineOption noise(
        {QStringLiteral("noise")},
        QStringLiteral("Flip one random bit of each byte sent with probability P (0 to 1)."),
        QStringLiteral("P"));
    const QCommandLineOption noiseIn(
        {QStringLiteral("noise-in")},
        QStringLiteral("Flip one random bit of each data byte of a write frame with probability "
                       "P before storing it; the frame is still acknowledged."),
        QStringLiteral("P"));
    const QCommandLineOption seed({QStringLiteral("seed")},
                                  QStringLiteral("Seed the noise, so that a run can be repeated."),
                                  QStringLiteral("N"));
    const QCommandLineOption unstable(
        {QStringLiteral("unstable")},
        QStringLiteral("Answer the block at ADDRESS (hexadecimal, 0030) with other data every "
                       "time, as a loose contact would."),
        QStringLiteral("ADDRESS"));
    parser.addOptions({image, save, saveDat, link, log, byteTime, think, drop, silent, corrupt,
                       corruptStore, shortReply, late, hangUp, noise, noiseIn, seed, unstable});
    parser.process(app);

    qx::RadioEmulator emu;
    qx::EmulatorFaults faults;
    for (const QString &n : parser.values(drop))
        faults.dropReplies.push_back(n.toInt());
    faults.silentFrom = parser.value(silent).toInt();
    faults.corruptReply = parser.value(corrupt).toInt();
    faults.corruptStore = parser.value(corruptStore).toInt();
    faults.hangUpAt = parser.value(hangUp).toInt();
    if (parser.isSet(shortReply) &&
        !parsePair(parser.value(shortReply), &faults.shortReply, &faults.shortBytes))
        return fail(QStringLiteral("--short wants N:K"));
    if (parser.isSet(late) && !parsePair(parser.value(late), &faults.lateReply, &faults.lateMs))
        return fail(QStringLiteral("--late wants N:MS"));
    for (const auto &[option, p] :
         {std::pair{&noise, &faults.noiseOut}, {&noiseIn, &faults.noiseIn}}) {
        bool ok = true;
        if (parser.isSet(*option))
            *p = parser.value(*option).toDouble(&ok);
        if (!ok || !(*p >= 0 && *p <= 1))
            return fail(QStringLiteral("--%1 wants a probability from 0 to 1")
                            .arg(option->names().first()));
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        faults.seed = parser.value(seed).toULongLong(&ok);
        if (!ok)
            return fail(QStringLiteral("--seed wants a whole number"));
    }
    if (parser.isSet(unstable)) {
        bool ok = false;
        faults.unstableBlock = parser.value(unstable).toInt(&ok, 16);
        if (!ok)
            return fail(QStringLiteral("--unstable wants a hexadecimal address"));
    }
    emu.setFaults(faults);
    emu.setByteTimeMicros(parser.value(byteTime).toInt());
    emu.setThinkMillis(parser.value(think).toInt());

    QString error;
    if (parser.isSet(image) && !emu.loadImage(parser.value(image), &error))
        return fail(error);
    if (parser.isSet(log)) {
        emu.setFrameLogger([](const QByteArray &frame) {
            std::fprintf(stderr, "rx %s\n", frame.toHex(' ').constData());
            std::fflush(stderr);
        });
    }

    // The emulator thread inherits the mask, so only sigtimedwait below sees the signals.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    if (!emu.start(&error))
        return fail(error);
    QString shown = emu.slavePath();
    if (parser.isSet(link)) {
        if (!emu.makeLink(parser.value(link), &error)) {
            emu.stop();
            return fail(error);
        }
        shown = parser.value(link);
    }
    std::printf("%s\n", qPrintable(shown));
    std::fflush(stdout);

    const timespec poll{0, 100'000'000};
    while (emu.running()) {
        if (sigtimedwait(&stopSignals, nullptr, &poll) > 0)
            break;
    }
    emu.stop();

    int rc = 0;
    if (parser.isSet(save) && !emu.saveRaw(parser.value(save), &error))
        rc = fail(error);
    if (parser.isSet(saveDat) && !emu.saveDat(parser.value(saveDat), &error))
        rc = fail(error);
    return rc;
}
