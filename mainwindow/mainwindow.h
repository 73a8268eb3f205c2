#pragma once

#include "fileedits.h"
#include "loggingsio.h"
#include "ptini.h"
#include "windowtexts.h"
#include "workingfile.h"

#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolBar;
class QToolButton;

namespace qx {

class ChannelGrid;
class DragPanel;
class EditCommands;
class EditHistory;
class TransferJob;
class TransferSwitches;
class DropDown;
class PortDetector;
class Prompter;
class SettingsPanel;
class Sio;
class Transfer;

// The one main window of both languages. TForm1 and TE_Form only pick the texts.
// It holds the menus, the tool bar, the status bar and the port panel, and wires the
// channel grid and the settings panel to the working file: every edit in them reaches
// the file at once, through the window's FileEdits.
class MainWindow : public QMainWindow, private FileEdits {
    Q_OBJECT
public:
    // folder: where pt.ini and r_and_w.dat live (the program's folder).
    MainWindow(WindowTexts texts, Prompter &prompter, Sio &sio, QString folder,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    const WindowTexts &texts() const { return m_texts; }
    Prompter &prompter() { return m_prompter; }
    QString folder() const { return m_folder; }
    QString workingFilePath() const;
    Transfer &transfer() { return *m_transfer; }
    ChannelGrid &channelGrid() { return *m_grid; }

    // A grid cell by (column, row), as the decoders and the printout address them.
    QString cell(int column, int row) const;

    // Shows the working file as showWorkingFile does and names, in one message, the
    // records it lacks or that are damaged; never writes.
    void ReadAndDeal_F();
    // Shows the working file as it is: a row or setting whose record is missing or does
    // not decode shows as in a new window, never what an earlier image left there. Says
    // nothing (after an edit or an undo the user has seen the image); empty when the file
    // is gone, and then the window keeps what it shows.
    std::optional<RecordReport> showWorkingFile();
    // The open command with its dialog starting in that folder (empty: the dialog's own).
    void openFrom(const QString &dir);
    // Opens the image at path as the open command opens a file chosen in its dialog (the
    // program's file argument).
    void openFile(const QString &path);

public slots:
    // Start-up, language and exit.
    void N17Click();                      // language switch of the Chinese window
    void oChinese1Click() { N17Click(); } // the same in the English window
    void N10Click();                      // exit

    // Transfers and the port panel.
    void n11Click();
    void N12Click();
    void N13Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void ToolButton13Click();
    void N18Click(); // Detect Port

    // Files and printing.
    void N5Click();
    void N6Click();
    void N8Click();

protected:
    bool event(QEvent *event) override;

private:
    // FileEdits: every store of the grid and the settings panel.
    void commitChannel(int channel, const ChannelCells &cells) override;
    void storeChannel(int channel, const ChannelCells &cells) override;
    void storeRecord(int record, const MemoryFrame &frame) override;
    void resetChannels(const QString &frequency) override;
    void beginStep() override;
    void endStep() noexcept override;

    // Copies the chosen image over the working file as one undo step, lists it first among
    // the recent files and shows it; a copy that fails changes nothing and says why.
    void openChosen(const QString &chosen);

    // Undo, redo, the clipboard, CSV, comparing, backups and verify (mainwindow_editing.cpp).
    void buildEditing();

    void FormCreate();
    void buildMenus();
    void buildToolBar();
    void buildDisplayFrame(QWidget *parent);
    void buildPortPanel(QWidget *parent);
    void buildStatusBar();
    // The outer frame at the size drawn, once the window manager has said how thick its
    // frame is; the client area is what it leaves.
    void fitOuterFrame();
    void wireTransfer();
    // n11Click and N12Click: the transfer job, with its log in transfer.log.
    void startTransfer(int mode);
    // A completed read replaces the working file as one undo step, with its backup.
    void storeRead(const QByteArray &image);
    // What the window makes of a job's end: what failed and what the radio now holds.
    void jobFinished(int result);
    // A backup beside the working file; one that cannot be saved is reported, not fatal.
    void keepBackup(bool read, const QByteArray &image);
    // The channels and settings blocks of these records, in the window's words.
    QString recordNames(const QList<int> &records) const;
    void detectFinished();
    // The label under the port list: the selected item's device and whether it is there.
    void showPortDevice();
    // pt.ini in the window's folder, read afresh at every use.
    PtIni settingsFile() const;

    WindowTexts m_texts;
    Prompter &m_prompter;
    Sio &m_sio;
    QString m_folder;
    WorkingFile m_file;
    TransferLog m_log; // transfer.log beside the working file: the last transfer's bytes
    LoggingSio m_loggingSio{m_sio, m_log};
    std::unique_ptr<Transfer> m_transfer;
    PortDetector *m_detector = nullptr;
    EditHistory *m_history = nullptr; // a child, found by tests as "EditHistory"
    TransferJob *m_job = nullptr;     // backups, checked reads and verify; a child
    TransferSwitches *m_switches = nullptr;
    EditCommands *m_editCommands = nullptr;
    QString m_saveFolder; // where the next save dialog starts: the last saved file's folder
    bool m_frameFitted = false;

    ChannelGrid *m_grid = nullptr;
    SettingsPanel *m_settings = nullptr; // spSkinGroupBox1

    // Controls, named as the tests and the rest of the program know them.
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton3 = nullptr, *ToolButton2 = nullptr, *ToolButton11 = nullptr;
    QToolButton *ToolButton7 = nullptr, *ToolButton8 = nullptr, *ToolButton13 = nullptr;
    QToolButton *ToolButton9 = nullptr, *ToolButton5 = nullptr;
    QAction *N5 = nullptr, *N6 = nullptr, *N8 = nullptr, *N10 = nullptr, *N11 = nullptr;
    QAction *N12 = nullptr, *N13 = nullptr, *N17 = nullptr, *N18 = nullptr;
    QAction *a1 = nullptr, *b1 = nullptr, *c1 = nullptr;
    QMenu *N1 = nullptr;
    QGroupBox *show_Box = nullptr;
    QProgressBar *Gauge = nullptr;
    DragPanel *Select_com = nullptr;
    QLabel *Label21 = nullptr;
    DropDown *Com = nullptr;
    QLabel *PortDevice = nullptr;
    QPushButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr;
    static constexpr int kPortStatus = 2; // the status panel that names the port
    std::array<QLabel *, 3> statusPanel{};
};

// The Chinese window (unit pcmain).
class TForm1 : public MainWindow {
    Q_OBJECT
public:
    TForm1(Prompter &prompter, Sio &sio, QString folder, QWidget *parent = nullptr)
        : MainWindow(chineseWindowTexts(), prompter, sio, std::move(folder), parent) {}
};

// The English window (unit Emain).
class TE_Form : public MainWindow {
    Q_OBJECT
public:
    TE_Form(Prompter &prompter, Sio &sio, QString folder, QWidget *parent = nullptr)
        : MainWindow(englishWindowTexts(), prompter, sio, std::move(folder), parent) {}
};

} // namespace qx
