#include "mainwindow.h"

#include "prompter.h"
#include "widgets.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace qx {

// A load sets the controls; only the user's own changes store a block.
void MainWindow::save03C0() {
    if (!m_loading)
        m_file.StoreFrame(kRecord03C0, qx::save03C0(panel03C0()));
}

void MainWindow::save03F0() {
    if (!m_loading)
        m_file.StoreFrame(kRecord03F0, qx::save03F0(panel03F0()));
}

void MainWindow::CB_BYChange() {
    guarded([this] { save03C0(); });
}

void MainWindow::CB_YYChange() {
    guarded([this] { save03F0(); });
}

void MainWindow::SpinEdit1Change() {
    bool stored = false;
    guarded([this, &stored] {
        save03F0();
        stored = true;
    });
    const int value = SpinEdit1->value();
    if (value < 0 || value >= 256) {
        // Even when the store failed (a bad time text): a value left above 255 would
        // reach the file modulo 256 with the next store. Setting 0 runs this handler
        // again, which stores 0 and shows its label.
        SpinEdit1->setValue(0);
        return;
    }
    if (stored)
        Label19->setText(m_texts.powerVoltage + QString::number(value / 51.0, 'f', 3) +
                         QStringLiteral("(V)"));
}

void MainWindow::CB_SMChange() {
    guarded([this] {
        save03F0();
        const bool timeMode = CB_SM->currentIndex() == 1;
        Edit2->setEnabled(timeMode);
        SpinButton2->setEnabled(timeMode);
    });
}

void MainWindow::CB_YXChange() {
    guarded([this] {
        save03F0();
        CB_CH->setEnabled(CB_YX->currentIndex() == 1);
    });
}

void MainWindow::CheckBox2Click() {
    guarded([this] {
        save03F0();
        const bool on = CheckBox2->isChecked();
        CB_YX->setEnabled(on);
        CB_CH->setEnabled(on);
        CB_SM->setEnabled(on);
    });
}

void MainWindow::wireSettingsPanel() {
    for (DropDown *box : {CB_BY, CB_SD, CB_DP, CB_JT, CB_CS})
        connect(box, &QComboBox::activated, this, &MainWindow::CB_BYChange);
    connect(CB_YY, &QComboBox::activated, this, &MainWindow::CB_YYChange);
    connect(CB_CH, &QComboBox::activated, this, &MainWindow::CB_YYChange);
    connect(CB_SM, &QComboBox::activated, this, &MainWindow::CB_SMChange);
    connect(CB_YX, &QComboBox::activated, this, &MainWindow::CB_YXChange);
    // The check box and the power field react to loads too (enable rule, label);
    // their store is held back while loading.
    connect(CheckBox2, &QCheckBox::toggled, this, &MainWindow::CheckBox2Click);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &MainWindow::SpinEdit1Change);

    auto stepper = [this](SpinButton *spin, QLineEdit *edit) {
        connect(spin, &SpinButton::upClicked, this,
                [this, edit] { guarded([edit] { edit->setText(TimeStepUp(edit->text())); }); });
        connect(spin, &SpinButton::downClicked, this,
                [this, edit] { guarded([edit] { edit->setText(TimeStepDown(edit->text())); }); });
    };
    stepper(SpinButton1, Edit1);
    stepper(SpinButton2, Edit2);
    stepper(SpinButton3, Edit3);
}

// A click into a time field stores Block03F0 (CB_YYChange). The filter also sees
// presses on a disabled field, which takes no click.
bool MainWindow::timeFieldClicked(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    if ((watched == Edit1 || watched == Edit2 || watched == Edit3) &&
        static_cast<QWidget *>(watched)->isEnabled())
        CB_YYChange();
    return false;
}

} // namespace qx
