#include "mainwindow.h"

#include "prompter.h"
#include "widgets.h"

#include <QCheckBox>
#include <QTableWidget>

namespace qx {

void MainWindow::storeModelBand(int model, int band) {
    m_file.StoreFrame(kRecord03D0, qx::save03D0(model, band, f_box->count()));
}

void MainWindow::f_boxChange() {
    guarded([this] {
        storeModelBand(CB_JQLX->currentIndex(), f_box->currentIndex());
        brush_StringGrid(bandDefaultFrequency(f_box->currentText()));
    });
}

void MainWindow::CB_JQLXCloseUp() {
    guarded([this] {
        const QString question =
            m_texts.modelQuestion + CB_JQLX->currentText() + QStringLiteral("?");
        if (!m_prompter.ask(QStringLiteral("Confirm"), question, Prompter::Buttons::YesNo)) {
            CB_JQLX->setCurrentIndex(m_modelBeforeOpen);
            return;
        }
        CB_JQLXChange();
    });
}

void MainWindow::CB_JQLXChange() {
    guarded([this] {
        const int model = CB_JQLX->currentIndex();
        if (model != m_modelBeforeOpen) {
            F_Change();
            brush_StringGrid(modelDefaultFrequency(model));
            storeModelBand(model, 0);
        }
        m_modelBeforeOpen = model;
        CheckBox2->setChecked(false);
    });
}

void MainWindow::F_Change() {
    const QSignalBlocker block(f_box);
    f_box->clear();
    f_box->addItems(bandNames(CB_JQLX->currentIndex()));
    f_box->setCurrentIndex(0);
}

void MainWindow::brush_StringGrid(const QString &frequency) {
    for (int row = 1; row <= kChannelCount; ++row) {
        setCell(1, row, frequency);
        setCell(2, row, QStringLiteral("OFF"));
        setCell(3, row, frequency);
        setCell(4, row, QStringLiteral("OFF"));
        setCell(5, row, m_texts.flags.no);
        setCell(6, row, m_texts.flags.no);
        EncodeChannel(m_file, row, frequency, frequency, QStringLiteral("OFF"),
                      QStringLiteral("OFF"), m_texts.flags.no, m_texts.flags.no);
    }
}

void MainWindow::wireModelBand() {
    connect(f_box, &QComboBox::activated, this, &MainWindow::f_boxChange);
    connect(CB_JQLX, &DropDown::poppedUp, this,
            [this] { m_modelBeforeOpen = CB_JQLX->currentIndex(); });
    connect(CB_JQLX, &DropDown::closedUp, this, &MainWindow::CB_JQLXCloseUp);
}

} // namespace qx
