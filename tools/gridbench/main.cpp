// qx7420-gridbench: the mean time of one grid commit (EncodeGridRow: the row's two
// records written, then the whole working file decoded into the window), offscreen.
#include "channelcodec.h"
#include "channelgrid.h"
#include "mainwindow.h"
#include "prompter.h"
#include "settingscodec.h"
#include "sio.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

class CountingPrompter : public qx::Prompter {
public:
    int shown = 0;
    void message(const QString &) override { ++shown; }
    bool ask(const QString &, const QString &, Buttons, Icon) override { return ++shown, false; }
    void error(const QString &text) override {
        ++shown;
        std::fprintf(stderr, "qx7420-gridbench: %s\n", qPrintable(text));
    }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }
};

// No radio: the bench never opens the link.
class NoSio : public qx::Sio {
public:
    int sio_open(int) override { return -1; }
    int sio_ioctl(int, int, int) override { return -1; }
    int sio_flowctrl(int, int) override { return -1; }
    int sio_write(int, const char *, int) override { return -1; }
    int sio_read(int, char *, int) override { return -1; }
    int sio_close(int) override { return 0; }
    void discardInput(int) override {}
    QString lastOpenError() const override { return {}; }
};

QByteArray fullImage() {
    QByteArray image;
    for (int ch = 1; ch <= qx::kChannelCount; ++ch) {
        const QString f = QStringLiteral("%1.01250").arg(450 + ch);
        const auto frames =
            qx::encodeChannelFrames(ch, {f, QStringLiteral("67.0"), f, QStringLiteral("OFF"),
                                         QStringLiteral("NO"), QStringLiteral("YES")});
        image += frames[0].toByteArray() + frames[1].toByteArray();
    }
    image += qx::save03C0({}).toByteArray();
    image += qx::save03D0(0, 0, 5).toByteArray();
    image += qx::save03F0({}).toByteArray();
    return image;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int commits = argc > 1 ? std::max(1, atoi(argv[1])) : 200;

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("r_and_w.dat")));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(fullImage()) != 420) {
        std::fprintf(stderr, "qx7420-gridbench: cannot write the working file\n");
        return 1;
    }
    file.close();

    CountingPrompter prompter;
    NoSio sio;
    qx::TForm1 window(prompter, sio, dir.path());
    window.show();
    QApplication::processEvents();

    double totalMs = 0, worstMs = 0;
    QElapsedTimer clock;
    for (int i = 0; i < commits; ++i) {
        const int row = 1 + i % qx::kChannelCount;
        // Each commit changes the row, so every write and every cell update is real.
        window.channelGrid().setCell(qx::ChannelGrid::RxTone, row,
                                     i % 2 ? QStringLiteral("OFF") : QStringLiteral("88.5"));
        clock.start();
        window.channelGrid().EncodeGridRow(row);
        const double ms = clock.nsecsElapsed() / 1e6;
        totalMs += ms;
        worstMs = std::max(worstMs, ms);
        QApplication::processEvents(); // repaint outside the measured commit
    }
    if (prompter.shown) {
        std::fprintf(stderr, "qx7420-gridbench: %d boxes were shown\n", prompter.shown);
        return 1;
    }
    std::printf("commits=%d\ncommit_ms=%.3f\ncommit_max_ms=%.3f\n", commits, totalMs / commits,
                worstMs);
    return 0;
}
