#include "settingspanel.h"

#include "dropdown.h"
#include "fileedits.h"
#include "prompter.h"

#include <QCheckBox>

namespace qx {

void SettingsPanel::storeModelBand(int model, int band) {
    m_edits.storeRecord(kRecord03D0, qx::save03D0(model, band, f_box->count()));
}

void SettingsPanel::f_boxChange() {
    guard(m_prompter, [this] {
        const FileEdits::Step step(m_edits);
        storeModelBand(CB_JQLX->currentIndex(), f_box->currentIndex());
        m_edits.resetChannels(bandDefaultFrequency(f_box->currentText()));
    });
}

void SettingsPanel::CB_JQLXCloseUp() {
    guard(m_prompter, [this] {
        const QString question =
            m_texts.modelQuestion + CB_JQLX->currentText() + QStringLiteral("?");
        if (!m_prompter.ask(QStringLiteral("Confirm"), question, Prompter::Buttons::YesNo)) {
            CB_JQLX->setCurrentIndex(m_modelBeforeOpen);
            return;
        }
        CB_JQLXChange();
    });
}

void SettingsPanel::CB_JQLXChange() {
    guard(m_prompter, [this] {
        const FileEdits::Step step(m_edits);
        const int model = CB_JQLX->currentIndex();
        if (model != m_modelBeforeOpen) {
            F_Change();
            m_edits.resetChannels(modelDefaultFrequency(model));
            storeModelBand(model, 0);
        }
        m_modelBeforeOpen = model;
        CheckBox2->setChecked(false);
    });
}

void SettingsPanel::F_Change() {
    const QSignalBlocker block(f_box);
    f_box->clear();
    f_box->addItems(bandNames(CB_JQLX->currentIndex()));
    f_box->setCurrentIndex(0);
}

void SettingsPanel::wireModelBand() {
    // Picking the band shown changes nothing; F_Change refills the list without this.
    onChange(f_box, &SettingsPanel::f_boxChange);
    connect(CB_JQLX, &DropDown::poppedUp, this,
            [this] { m_modelBeforeOpen = CB_JQLX->currentIndex(); });
    connect(CB_JQLX, &DropDown::closedUp, this, &SettingsPanel::CB_JQLXCloseUp);
}

} // namespace qx
