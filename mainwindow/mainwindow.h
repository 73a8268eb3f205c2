#pragma once

#include "commandhost.h"
#include "fileedits.h"
#include "frequencylistprinter.h"
#include "ptini.h"
#include "transferpresenter.h"
#include "windowtexts.h"
#include "workingfile.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class QToolButton;

namespace qx {

class ChannelGrid;
class EditHistory;
class PortPanel;
class Prompter;
class SettingsPanel;
class Sio;
class Transfer;
class TransferPresenter;

// The one main window of both languages. TForm1 and TE_Form only pick the texts.
// It holds the menus, the tool bar and the status bar, and wires the channel grid, the
// settings panel, the port panel, the transfers and the commands to the working file:
// every edit reaches the file at once, through the window's FileEdits.
class MainWindow : public QMainWindow,
                   private FileEdits,
                   private CommandHost,
                   private TransferHost {
    Q_OBJECT
public:
    // folder: where pt.ini and r_and_w.dat live (the program's folder).
    MainWindow(WindowTexts texts, Prompter &prompter, Sio &sio, QString folder,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    const WindowTexts &texts() const override { return m_texts; }
    Prompter &prompter() override { return m_prompter; }
    QString folder() const { return m_folder; }
    QString workingFilePath() const;
    Transfer &transfer();
    ChannelGrid &channelGrid() override { return *m_grid; }

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
    void openFrom(const QString &dir) override;
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
    void printWithDialog(); // Print...: the platform's print dialog
    void printPreview();

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
    void storeRecords(int first, const QList<MemoryFrame> &frames);
    // Throws, after showing the file as it now is, when another program changed it.
    void ensureUnchanged();
    // The file replaced whole by write() as one undo step.
    void replaceWorkingFile(const std::function<void()> &write);
    // Shows these bytes as the working file's.
    RecordReport showImage(const QByteArray &image);

    // CommandHost: what the commands reach.
    FileEdits &edits() override { return *this; }
    WorkingFile &workingFile() override { return m_file; }
    TransferJob &job() override;
    QWidget *hostWidget() override { return this; }
    void reloadWorkingFile() override { showImage(m_image); }

    // TransferHost: what the transfers reach.
    void storeImage(const QByteArray &image) override;
    void reload() override { ReadAndDeal_F(); }
    bool commitTypedText() override;
    PtIni settingsFile() const override;

    // Copies the chosen image over the working file as one undo step, lists it first among
    // the recent files and shows it; a copy that fails changes nothing and says why.
    void openChosen(const QString &chosen);

    // Undo, redo, the clipboard, CSV, comparing, backups and the channel tools.
    void buildEditing();

    void FormCreate();
    void buildMenus();
    void buildToolBar();
    void buildDisplayFrame(QWidget *parent);
    void buildStatusBar();
    // The recent-file slots that name a file, in the File menu; the others out of it.
    void showRecentSlots();
    // Alt and a letter open each menu of the bar, F10 the first.
    void addMnemonics();
    // The outer frame at the size drawn, once the window manager has said how thick its
    // frame is; the client area is what it leaves.
    void fitOuterFrame();
    // The print commands, reporting in the status bar.
    FrequencyListPrinter listPrinter();
    // A line of what a command did, in the status bar's middle panel.
    void showStatusLine(const QString &line);

    // Single keys, free in the grid, its editor and the desktops; Ctrl+R and Ctrl+W would
    // be reload and close elsewhere, and a stray Ctrl+W must not start a write.
    static constexpr QKeyCombination kReadKey{Qt::Key_F5};
    static constexpr QKeyCombination kWriteKey{Qt::Key_F6};

    WindowTexts m_texts;
    Prompter &m_prompter;
    QString m_folder;
    WorkingFile m_file;
    QByteArray m_image; // the working file as the window last read or wrote it
    int m_stepDepth = 0;
    TransferPresenter *m_transfers = nullptr;
    PortPanel *m_portPanel = nullptr;
    EditHistory *m_history = nullptr; // a child, found by tests as "EditHistory"
    QString m_saveFolder; // where the next save dialog starts: the last saved file's folder
    bool m_frameFitted = false;

    ChannelGrid *m_grid = nullptr;
    SettingsPanel *m_settings = nullptr; // spSkinGroupBox1

    // Controls, named as the tests and the rest of the program know them.
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton7 = nullptr, *ToolButton8 = nullptr;
    QAction *a1 = nullptr, *b1 = nullptr, *c1 = nullptr;
    QAction *m_recentEnd = nullptr; // the separator after the recent-file slots
    QMenu *N1 = nullptr;
    QMenu *N2 = nullptr;
    QGroupBox *show_Box = nullptr;
    QProgressBar *Gauge = nullptr;
    static constexpr int kMessageStatus = 1; // the welcome panel, then what a command did
    static constexpr int kPortStatus = 2;    // the status panel that names the port
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
