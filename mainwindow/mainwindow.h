#pragma once

#include "commandhost.h"
#include "frequencylistprinter.h"
#include "ptini.h"
#include "transferpresenter.h"
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
class QToolBar;
class QToolButton;

namespace qx {

class ChannelGrid;
class OpenSave;
class WindowStatusBar;
class WorkingImage;
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
class MainWindow : public QMainWindow, private CommandHost, private TransferHost {
    Q_OBJECT
public:
    // folder: where pt.ini and r_and_w.dat live (the program's folder).
    MainWindow(WindowTexts texts, Prompter &prompter, Sio &sio, QString folder,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    const WindowTexts &texts() const override { return m_texts; }
    Prompter &prompter() override { return m_prompter; }
    ChannelGrid &channelGrid() override { return *m_grid; }

    // Shows the working file and names, in one message, the records it lacks or that are
    // damaged; never writes.
    void ReadAndDeal_F();
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
    // CommandHost: what the commands reach.
    FileEdits &edits() override;
    WorkingFile &workingFile() override { return m_file; }
    TransferJob &job() override;
    QWidget *hostWidget() override { return this; }
    void reloadWorkingFile() override;

    // TransferHost: what the transfers reach.
    void storeImage(const QByteArray &image) override;
    void reload() override { ReadAndDeal_F(); }
    bool commitTypedText() override;
    PtIni settingsFile() const override;

    // Undo, redo, the clipboard, CSV, comparing, backups and the channel tools.
    void buildEditing();

    void FormCreate();
    void buildMenus();
    void buildToolBar();
    void buildDisplayFrame(QWidget *parent);
    // The outer frame at the size drawn, once the window manager has said how thick its
    // frame is; the client area is what it leaves.
    void fitOuterFrame();
    // The print commands, reporting in the status bar.
    FrequencyListPrinter listPrinter();

    // Single keys, free in the grid, its editor and the desktops; Ctrl+R and Ctrl+W would
    // be reload and close elsewhere, and a stray Ctrl+W must not start a write.
    static constexpr QKeyCombination kReadKey{Qt::Key_F5};
    static constexpr QKeyCombination kWriteKey{Qt::Key_F6};

    WindowTexts m_texts;
    Prompter &m_prompter;
    QString m_folder;
    WorkingFile m_file;
    WorkingImage *m_working = nullptr;
    TransferPresenter *m_transfers = nullptr;
    PortPanel *m_portPanel = nullptr;
    OpenSave *m_openSave = nullptr;
    bool m_frameFitted = false;

    ChannelGrid *m_grid = nullptr;
    SettingsPanel *m_settings = nullptr; // spSkinGroupBox1

    // Controls, named as the tests and the rest of the program know them.
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton7 = nullptr, *ToolButton8 = nullptr;
    QMenu *N1 = nullptr;
    QMenu *N2 = nullptr;
    QGroupBox *show_Box = nullptr;
    QProgressBar *Gauge = nullptr;
    WindowStatusBar *m_status = nullptr;
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
