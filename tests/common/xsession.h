#pragma once

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace qx::test {

// A private X server with a window manager, for tests that reach the program the way a
// person's mouse and keyboard do: Xvfb on a free display, openbox on it (focus and
// activation as on a desktop), and xdotool for the input. Start it before QApplication.
class XSession {
public:
    XSession() = default;
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;
    ~XSession() {
        for (QProcess *p : {&m_wm, &m_server}) {
            if (p->state() == QProcess::NotRunning)
                continue;
            p->terminate();
            if (!p->waitForFinished(3000)) {
                p->kill();
                p->waitForFinished(1000);
            }
        }
    }

    // Starts the server and the window manager and points DISPLAY at them. False, with
    // the reason, when a tool is missing or does not come up.
    bool start(QString *error) {
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        if (!m_server.waitForStarted(5000))
            return fail(error, QStringLiteral("Xvfb does not start (package xvfb)"));
        // The server writes its display number once it takes connections.
        while (!m_server.canReadLine())
            if (!m_server.waitForReadyRead(15000))
                return fail(error, QStringLiteral("Xvfb did not name its display"));
        m_display = ':' + m_server.readLine().trimmed();
        qputenv("DISPLAY", m_display);

        m_wm.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (!m_wm.waitForStarted(5000))
            return fail(error, QStringLiteral("openbox does not start (package openbox)"));
        // Ready when it has announced itself on the root window.
        for (int i = 0; i < 200; ++i) {
            QProcess probe;
            probe.start(QStringLiteral("xprop"),
                        {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
            if (!probe.waitForFinished(5000))
                return fail(error, QStringLiteral("xprop does not run (package x11-utils)"));
            if (probe.readAllStandardOutput().contains("window id"))
                return true;
            QThread::msleep(50);
        }
        return fail(error, QStringLiteral("openbox did not come up"));
    }

private:
    static bool fail(QString *error, const QString &reason) {
        if (error)
            *error = reason;
        return false;
    }

    QProcess m_server;
    QProcess m_wm;
    QByteArray m_display;
};

// Runs xdotool while the event loop goes on (the program reacts while it types); true
// when it succeeded.
inline bool xdotool(const QStringList &args, int timeoutMs = 20000) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForStarted(5000))
        return false;
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// xdotool's arguments that move the pointer to a point on the screen and wait until it is
// there; xdotool waits in vain (15 s) for a move to where the pointer already is.
inline QStringList moveTo(QPoint global) {
    QStringList args{QStringLiteral("mousemove")};
    if (QCursor::pos() != global)
        args << QStringLiteral("--sync");
    return args << QString::number(global.x()) << QString::number(global.y());
}

// Answers the program's modal boxes and file dialogs from the keyboard once each is up
// and active, as a person would: with the next reply in line whose text the box shows,
// or with Enter when none fits (the box is then listed as unexpected). Boxes open inside
// the program's handlers, so the answers run from the event loop, not from the test.
class Answerer : public QObject {
public:
    struct Reply {
        QString text; // a part of the box's text; "file dialog" for a file dialog
        QList<QStringList> xdotool;
    };

    QList<Reply> replies;
    QStringList seen;
    QStringList unexpected;

    Answerer() {
        m_poll.setInterval(20);
        connect(&m_poll, &QTimer::timeout, this, &Answerer::poll);
        m_poll.start();
        connect(&m_keys, &QProcess::finished, this, &Answerer::next);
    }
    ~Answerer() override {
        m_poll.stop();
        m_keys.disconnect(this);
        if (m_keys.state() != QProcess::NotRunning) {
            m_keys.kill();
            m_keys.waitForFinished(1000);
        }
    }

    // Replies for a box with this text: Enter.
    void expectBox(const QString &text) {
        replies << Reply{text, {{QStringLiteral("key"), QStringLiteral("Return")}}};
    }
    // Replies for a file dialog: the path typed over its name field, then Enter.
    void expectFileDialog(const QString &path) {
        replies << Reply{
            QStringLiteral("file dialog"),
            {{QStringLiteral("key"), QStringLiteral("ctrl+a")},
             {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), path},
             {QStringLiteral("key"), QStringLiteral("Return")}}};
    }
    bool idle() const { return replies.isEmpty() && m_pending.isEmpty() && !m_busy; }

private:
    void poll() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_current || !modal->isActiveWindow() || m_busy)
            return;
        m_current = modal;
        QString text = QStringLiteral("file dialog");
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            text = box->text();
        seen << text;
        if (!replies.isEmpty() && text.contains(replies.first().text)) {
            m_pending = replies.takeFirst().xdotool;
        } else {
            unexpected << text;
            m_pending = {{QStringLiteral("key"), QStringLiteral("Return")}};
        }
        next();
    }
    void next() {
        m_busy = !m_pending.isEmpty();
        if (m_busy)
            m_keys.start(QStringLiteral("xdotool"), m_pending.takeFirst());
    }

    QTimer m_poll;
    QProcess m_keys;
    QPointer<QWidget> m_current;
    QList<QStringList> m_pending;
    bool m_busy = false;
};

} // namespace qx::test
