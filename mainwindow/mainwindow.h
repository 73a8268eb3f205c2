#pragma once

#include "channelcodec.h"
#include "ptini.h"
#include "settingscodec.h"
#include "windowtexts.h"
#include "workingfile.h"

#include <QHash>
#include <QMainWindow>
#include <memory>

class QAction;
class QCheckBox;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QToolBar;
class QToolButton;

namespace qx {

class DragPanel;
class DropDown;
class GridView;
class Prompter;
class Sio;
class SpinButton;
class Transfer;

// The one main window of both languages. TForm1 and TE_Form only pick the texts.
// The controls are the in-memory image: every edit is written through to the
// working file at once.
class MainWindow : public QMainWindow {
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
    WorkingFile &workingFile() { return m_file; }
    Transfer &transfer() { return *m_transfer; }

    // Grid cells by (column, row), as the decoders and the printout address them.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);

    // Decodes every record of the named file into the grid and the panel; never writes.
    void ReadAndDeal_F(const QString &name);

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

    // Files and printing.
    void N5Click();
    void N6Click();
    void N8Click();

    // Channel grid editor.
    void StringGridClick();
    void CompleteGridRow();
    void EncodeGridRow(int row);
    void RX_BOXCloseUp();
    void TX_BOXCloseUp();
    void box1CloseUp();
    void box2CloseUp();

    // Settings panel.
    void CB_BYChange();
    void CB_YYChange();
    void SpinEdit1Change();
    void CB_SMChange();
    void CB_YXChange();
    void CheckBox2Click();

    // Model and band.
    void f_boxChange();
    void CB_JQLXCloseUp();
    void CB_JQLXChange();
    void F_Change();
    void brush_StringGrid(const QString &frequency);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void buildMenus();
    void buildToolBar();
    void buildDisplayFrame(QWidget *parent);
    void buildSettingsArea(QWidget *parent);
    void buildPortPanel(QWidget *parent);
    void buildStatusBar();
    void setupGrid();
    void wireEditors();
    void wireSettingsPanel();
    void wireModelBand();
    bool timeFieldClicked(QObject *watched, QEvent *event);
    void wireTransfer();
    void guarded(const std::function<void()> &handler);
    // pt.ini in the window's folder, read afresh at every use.
    PtIni settingsFile() const;

    // Applying decoded records to the controls.
    void applyChannelRecord(int index, const QString &frameText);
    void apply03C0(const Block03C0Values &v);
    void apply03D0(const ModelBand &v);
    void apply03F0(const Block03F0Values &v);
    Block03C0Values panel03C0() const;
    Block03F0Values panel03F0() const;
    void save03C0();
    void save03F0();
    void storeModelBand(int model, int band);
    void commitBox(DropDown *box, int column);

    // Grid editor internals; these throw, their callers guard.
    GridView *grid() const;
    DropDown *boxForColumn(int column) const;
    QString CheckFrequency(const QString &text);
    void checkCell(int row, int column);
    void completeGridRow();
    void encodeGridRow(int row);
    void placeBoxes();
    bool StringGridSelectCell(); // false keeps the current cell
    bool StringGridKeyDown(QKeyEvent *event, bool inEditor);
    bool StringGridKeyPress(QKeyEvent *event); // true drops the character

    WindowTexts m_texts;
    Prompter &m_prompter;
    Sio &m_sio;
    QString m_folder;
    WorkingFile m_file;
    std::unique_ptr<Transfer> m_transfer;
    bool m_loading = false;
    int m_modelBeforeOpen = 0;
    QHash<int, QString> m_typed; // row * 8 + column: text typed but not yet checked
    QString m_saveFolder;        // where the next save dialog starts: the last saved file's folder

    // Controls, named as the tests and the rest of the program know them.
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton3 = nullptr, *ToolButton2 = nullptr, *ToolButton11 = nullptr;
    QToolButton *ToolButton7 = nullptr, *ToolButton8 = nullptr, *ToolButton13 = nullptr;
    QToolButton *ToolButton9 = nullptr, *ToolButton5 = nullptr;
    QAction *N5 = nullptr, *N6 = nullptr, *N8 = nullptr, *N10 = nullptr, *N11 = nullptr;
    QAction *N12 = nullptr, *N13 = nullptr, *N17 = nullptr;
    QAction *a1 = nullptr, *b1 = nullptr, *c1 = nullptr;
    QMenu *N1 = nullptr;
    QGroupBox *show_Box = nullptr;
    QTableWidget *StringGrid = nullptr;
    QProgressBar *Gauge = nullptr;
    DropDown *RX_BOX = nullptr, *TX_BOX = nullptr, *box1 = nullptr, *box2 = nullptr;
    QGroupBox *spSkinGroupBox1 = nullptr, *spSkinGroupBox2 = nullptr, *spSkinGroupBox3 = nullptr;
    DropDown *CB_JQLX = nullptr, *f_box = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    DropDown *CB_SM = nullptr, *CB_YX = nullptr, *CB_CH = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr;
    SpinButton *SpinButton1 = nullptr, *SpinButton2 = nullptr, *SpinButton3 = nullptr;
    DropDown *CB_BY = nullptr, *CB_SD = nullptr, *CB_DP = nullptr, *CB_YY = nullptr;
    DropDown *CB_JT = nullptr, *CB_CS = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QLabel *Label19 = nullptr;
    DragPanel *Select_com = nullptr;
    QLabel *Label21 = nullptr;
    DropDown *Com = nullptr;
    QPushButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr;
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
