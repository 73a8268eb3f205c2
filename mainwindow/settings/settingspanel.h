#pragma once

#include "settingscodec.h"
#include "windowtexts.h"

#include <QGroupBox>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QVBoxLayout;

namespace qx {

class DropDown;
class FileEdits;
class Prompter;
class SpinButton;

// The settings area: model and band, the scan group and the function parameters. Every
// change the user makes stores its block through FileEdits at once, without a reload; a
// model or band change also resets the channels through it. A load fills the panel through
// applySettingsRecord and stores nothing.
class SettingsPanel : public QGroupBox {
    Q_OBJECT
public:
    // List indices that carry meaning.
    static constexpr int kTimeOperatedScan = 1; // CB_SM: 0 carrier-operated, 1 time-operated
    static constexpr int kPriorityScan = 1;     // CB_YX: 0 cyclic, 1 priority

    SettingsPanel(WindowTexts texts, Prompter &prompter, FileEdits &edits,
                  QWidget *parent = nullptr);

    // Shows record kRecord03C0, kRecord03D0 or kRecord03F0 of a load; stores nothing.
    // Throws what the decoders throw, and for a model block that names no model.
    void applySettingsRecord(int index, const QString &frameText);

public slots:
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildModelBand(QVBoxLayout *column);
    void buildScanGroup(QVBoxLayout *column);
    void buildParameters(QVBoxLayout *column);
    // Runs the handler when the user changes the list's selection.
    void onChange(DropDown *box, void (SettingsPanel::*handler)());
    void wireSettingsPanel();
    void wireModelBand();

    void apply03C0(const Block03C0Values &v);
    void apply03D0(const ModelBand &v);
    void apply03F0(const Block03F0Values &v);
    Block03C0Values panel03C0() const;
    Block03F0Values panel03F0() const;
    void save03C0();
    void save03F0();
    void storeModelBand(int model, int band);

    const WindowTexts m_texts;
    Prompter &m_prompter;
    FileEdits &m_edits;
    bool m_loading = false; // the controls are being filled from the working file
    int m_modelBeforeOpen = 0;

    DropDown *CB_JQLX = nullptr, *f_box = nullptr;
    QGroupBox *spSkinGroupBox2 = nullptr, *spSkinGroupBox3 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    DropDown *CB_SM = nullptr, *CB_YX = nullptr, *CB_CH = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr;
    SpinButton *SpinButton1 = nullptr, *SpinButton2 = nullptr, *SpinButton3 = nullptr;
    DropDown *CB_BY = nullptr, *CB_SD = nullptr, *CB_DP = nullptr, *CB_YY = nullptr;
    DropDown *CB_JT = nullptr, *CB_CS = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QLabel *Label19 = nullptr;
};

} // namespace qx
