#include "settingspanel.h"

#include "dropdown.h"
#include "error.h"
#include "fileedits.h"
#include "powerspin.h"
#include "prompter.h"
#include "spinbutton.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace qx {

namespace {

// Sizes the window was drawn with. The group boxes draw a caption bar of kCaptionBar
// pixels; Qt's frame leaves kFrame pixels beside and kTitle above a group box's contents.
constexpr int kCaptionBar = 22;
constexpr int kFrame = 3;
constexpr int kTitle = 18;
constexpr int kListHeight = 21;
constexpr int kModelLabelLeft = 27, kModelListLeft = 89, kModelListWidth = 113;
constexpr int kScanGroupHeight = 108, kScanListWidth = 84, kTimeEditWidth = 48;
constexpr int kParamGroupHeight = 145, kLeftListWidth = 79, kMonitorKeyWidth = 82;
constexpr int kTimeOutWidth = 65, kPowerWidth = 65, kPowerLabelWidth = 121;
constexpr int kSpinButtonWidth = 17, kTimeEditHeight = 20;
constexpr int kParamRowGap = 8; // four rows spread over the group

// The label names its control for a screen reader, which otherwise hears a list by the
// item it shows, and Alt and the label's mnemonic would reach it.
QLabel *labelFor(const QString &text, QWidget *control) {
    auto *label = new QLabel(text);
    label->setBuddy(control);
    control->setAccessibleName(text);
    return label;
}

QGridLayout *captionedGrid(QGroupBox *box) {
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(1, kCaptionBar - kTitle, 1, 0);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    return grid;
}

} // namespace

SettingsPanel::SettingsPanel(WindowTexts texts, Prompter &prompter, FileEdits &edits,
                             QWidget *parent)
    : QGroupBox(parent), m_texts(std::move(texts)), m_prompter(prompter), m_edits(edits) {
    setTitle(m_texts.settingsArea);
    setObjectName(QStringLiteral("spSkinGroupBox1"));
    setMinimumWidth(m_texts.settingsWidth);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, kCaptionBar - kTitle, 0, 0);
    column->setSpacing(2);
    buildModelBand(column);
    buildScanGroup(column);
    buildParameters(column);
    column->addStretch(1);
    wireSettingsPanel();
    wireModelBand();
}

void SettingsPanel::buildModelBand(QVBoxLayout *column) {
    auto *top = new QGridLayout;
    top->setContentsMargins(kModelLabelLeft - kFrame, 2, 0, 2);
    top->setHorizontalSpacing(0);
    top->setVerticalSpacing(2);
    top->setColumnMinimumWidth(0, kModelListLeft - kModelLabelLeft);
    CB_JQLX = dropDown("CB_JQLX", modelNames(), 0, this);
    f_box = dropDown("f_box", bandNames(0), 0, this);
    const std::array<std::pair<QString, DropDown *>, 2> lists{
        {{m_texts.modelLabel, CB_JQLX}, {m_texts.bandLabel, f_box}}};
    for (int i = 0; i < 2; ++i) {
        top->addWidget(labelFor(lists[i].first, lists[i].second), i, 0);
        lists[i].second->setDrawnWidth(kModelListWidth);
        lists[i].second->setFixedHeight(kListHeight);
        top->addWidget(lists[i].second, i, 1);
    }
    top->setColumnStretch(2, 1);
    column->addLayout(top);
}

void SettingsPanel::buildScanGroup(QVBoxLayout *column) {
    spSkinGroupBox2 = new QGroupBox(m_texts.scanGroup, this);
    spSkinGroupBox2->setObjectName(QStringLiteral("spSkinGroupBox2"));
    spSkinGroupBox2->setFixedHeight(kScanGroupHeight);
    QGridLayout *scan = captionedGrid(spSkinGroupBox2);
    CheckBox2 = new QCheckBox(m_texts.scanSelect, spSkinGroupBox2);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setLayoutDirection(Qt::RightToLeft); // the label stands left of the box
    scan->addWidget(CheckBox2, 0, 0, 1, 5, Qt::AlignHCenter);

    CB_SM = dropDown("CB_SM", m_texts.scanModeItems, 0, spSkinGroupBox2);
    CB_YX = dropDown("CB_YX", m_texts.channelModeItems, kPriorityScan, spSkinGroupBox2);
    CB_CH = dropDown("CB_CH", m_texts.priorityItems, kChannelCount - 1, spSkinGroupBox2);
    const std::array<std::pair<QString, DropDown *>, 3> lists{{{m_texts.scanMode, CB_SM},
                                                               {m_texts.channelMode, CB_YX},
                                                               {m_texts.priorityChannel, CB_CH}}};
    for (int i = 0; i < 3; ++i) {
        scan->addWidget(labelFor(lists[i].first, lists[i].second), i + 1, 0);
        lists[i].second->setDrawnWidth(kScanListWidth);
        lists[i].second->setFixedHeight(kListHeight);
        lists[i].second->setEnabled(false);
        scan->addWidget(lists[i].second, i + 1, 1, Qt::AlignLeft);
    }

    auto timeField = [&](const char *name, const char *spinName, const QString &caption,
                         const QString &text, int row, SpinButton *&spin) {
        auto *edit = new QLineEdit(text, spSkinGroupBox2);
        scan->addWidget(labelFor(caption, edit), row, 2, Qt::AlignRight);
        edit->setObjectName(QLatin1String(name));
        edit->setFixedSize(kTimeEditWidth, kTimeEditHeight);
        edit->setTextMargins(0, 0, kSpinButtonWidth, 0);
        spin = new SpinButton(edit);
        spin->setObjectName(QLatin1String(spinName));
        // The field's own Up and Down keys step it; its arrows are for the mouse.
        spin->upButton()->setAccessibleName(m_texts.access.spinUp.arg(caption));
        spin->downButton()->setAccessibleName(m_texts.access.spinDown.arg(caption));
        spin->setGeometry(kTimeEditWidth - kSpinButtonWidth, 0, kSpinButtonWidth, kTimeEditHeight);
        scan->addWidget(edit, row, 3);
        scan->addWidget(new QLabel(m_texts.seconds), row, 4);
        edit->installEventFilter(this);
        return edit;
    };
    Edit1 = timeField("Edit1", "SpinButton1", m_texts.carrierTime, QStringLiteral("10"), 1,
                      SpinButton1);
    Edit2 =
        timeField("Edit2", "SpinButton2", m_texts.delayTime, QStringLiteral("10"), 2, SpinButton2);
    Edit3 =
        timeField("Edit3", "SpinButton3", m_texts.returnTime, QStringLiteral("5"), 3, SpinButton3);
    Edit2->setEnabled(false);
    // The step buttons of the delay time follow its field; the others always work.
    SpinButton2->setEnabled(false);
    scan->setColumnStretch(5, 1);
    column->addWidget(spSkinGroupBox2);
}

void SettingsPanel::buildParameters(QVBoxLayout *column) {
    spSkinGroupBox3 = new QGroupBox(m_texts.paramGroup, this);
    spSkinGroupBox3->setObjectName(QStringLiteral("spSkinGroupBox3"));
    spSkinGroupBox3->setFixedHeight(kParamGroupHeight);
    QGridLayout *param = captionedGrid(spSkinGroupBox3);
    CB_BY = dropDown("CB_BY", m_texts.offOnItems, 0, spSkinGroupBox3);
    CB_SD = dropDown("CB_SD", m_texts.offOnItems, 0, spSkinGroupBox3);
    CB_DP = dropDown("CB_DP", m_texts.squelchItems, 0, spSkinGroupBox3);
    CB_YY = dropDown("CB_YY", m_texts.voiceItems, 0, spSkinGroupBox3);
    CB_JT = dropDown("CB_JT", m_texts.monitorKeyItems, m_texts.initialMonitorKey, spSkinGroupBox3);
    CB_CS = dropDown("CB_CS", m_texts.timeOutItems, 0, spSkinGroupBox3);
    SpinEdit1 = new PowerSpin(spSkinGroupBox3);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    // Wider than 0..255 so a typed 300 reaches the handler, which turns it into 0.
    SpinEdit1->setRange(-99999, 99999);
    SpinEdit1->setValue(96);
    SpinEdit1->setFixedSize(kPowerWidth, kListHeight);
    Label19 = new QLabel(QStringLiteral("NewPower"), spSkinGroupBox3);
    Label19->setObjectName(QStringLiteral("Label19"));
    Label19->setFixedWidth(kPowerLabelWidth);
    struct Placed {
        QString label;
        DropDown *list;
        int width, row, column;
    };
    // Two columns of four rows, labels left of their lists: the power field third on the
    // right, its voltage fourth.
    const std::array<Placed, 6> lists{{{m_texts.beep, CB_BY, kLeftListWidth, 0, 0},
                                       {m_texts.batterySave, CB_SD, kLeftListWidth, 1, 0},
                                       {m_texts.squelch, CB_DP, kLeftListWidth, 2, 0},
                                       {m_texts.voice, CB_YY, kLeftListWidth, 3, 0},
                                       {m_texts.monitorKey, CB_JT, kMonitorKeyWidth, 0, 2},
                                       {m_texts.timeOut, CB_CS, kTimeOutWidth, 1, 2}}};
    for (const Placed &p : lists) {
        p.list->setDrawnWidth(p.width);
        p.list->setFixedHeight(kListHeight);
        param->addWidget(labelFor(p.label, p.list), p.row, p.column);
        if (p.list != CB_YY)
            param->addWidget(p.list, p.row, p.column + 1, Qt::AlignLeft);
    }
    param->addWidget(labelFor(m_texts.power, SpinEdit1), 2, 2);
    param->addWidget(SpinEdit1, 2, 3, Qt::AlignLeft);
    // A voice list wider than the others would push the right column off the group; it
    // reaches under the right column's labels instead, and the voltage follows it.
    auto *voiceRow = new QHBoxLayout;
    voiceRow->setSpacing(0);
    voiceRow->addWidget(CB_YY);
    voiceRow->addSpacing(std::max(2 * param->horizontalSpacing(),
                                  kLeftListWidth + param->horizontalSpacing() - CB_YY->width()));
    voiceRow->addWidget(Label19);
    voiceRow->addStretch(1);
    param->addLayout(voiceRow, 3, 1, 1, 4);
    param->setVerticalSpacing(kParamRowGap);
    param->setRowStretch(4, 1);
    param->setColumnMinimumWidth(1, kLeftListWidth);
    param->setColumnStretch(4, 1);
    column->addWidget(spSkinGroupBox3);
}

void SettingsPanel::applySettingsRecord(int index, const QString &frameText) {
    const QScopedValueRollback<bool> loading(m_loading, true);
    if (index == kRecord03C0) {
        apply03C0(data03C0(frameText));
    } else if (index == kRecord03D0) {
        const auto mb = data03D0(frameText);
        if (!mb)
            throw Error(QStringLiteral("record %1 names no model: %2").arg(index).arg(frameText));
        apply03D0(*mb);
    } else if (index == kRecord03F0) {
        apply03F0(data03F0(frameText));
    }
}

void SettingsPanel::apply03C0(const Block03C0Values &v) {
    CB_SD->setCurrentIndex(v.batterySave);
    CB_BY->setCurrentIndex(v.beep);
    CB_DP->setCurrentIndex(v.squelch);
    CB_JT->setCurrentIndex(v.monitorKey);
    CB_CS->setCurrentIndex(v.timeOut);
}

void SettingsPanel::apply03D0(const ModelBand &v) {
    CB_JQLX->setCurrentIndex(v.model < CB_JQLX->count() ? v.model : -1);
    f_box->setCurrentIndex(v.band < f_box->count() ? v.band : -1);
}

void SettingsPanel::apply03F0(const Block03F0Values &v) {
    CB_YY->setCurrentIndex(v.voice);
    Edit1->setText(v.carrierTime);
    SpinEdit1->setValue(v.power);
    Edit2->setText(v.delayTime);
    Edit3->setText(v.returnTime);
    CheckBox2->setChecked(v.scanOn);
    CB_SM->setCurrentIndex(v.scanMode);
    if (v.scanMode == kTimeOperatedScan) {
        // A loaded time-operated mode enables its controls as choosing it does.
        Edit2->setEnabled(true);
        SpinButton2->setEnabled(true);
    }
    CB_YX->setCurrentIndex(v.channelMode);
    CB_CH->setCurrentIndex(v.priorityChannel);
}

Block03C0Values SettingsPanel::panel03C0() const {
    Block03C0Values v;
    v.beep = CB_BY->currentIndex();
    v.batterySave = CB_SD->currentIndex();
    v.squelch = CB_DP->currentIndex();
    v.monitorKey = CB_JT->currentIndex();
    v.timeOut = CB_CS->currentIndex();
    return v;
}

Block03F0Values SettingsPanel::panel03F0() const {
    Block03F0Values v;
    v.voice = CB_YY->currentIndex();
    v.carrierTime = Edit1->text();
    v.power = SpinEdit1->value();
    v.delayTime = Edit2->text();
    v.returnTime = Edit3->text();
    v.scanOn = CheckBox2->isChecked();
    v.scanMode = CB_SM->currentIndex();
    v.channelMode = CB_YX->currentIndex();
    v.priorityChannel = CB_CH->currentIndex();
    return v;
}

// A load sets the controls; only the user's own changes store a block.
void SettingsPanel::save03C0() {
    if (!m_loading)
        m_edits.storeRecord(kRecord03C0, qx::save03C0(panel03C0()));
}

void SettingsPanel::save03F0() {
    if (!m_loading)
        m_edits.storeRecord(kRecord03F0, qx::save03F0(panel03F0()));
}

void SettingsPanel::CB_BYChange() {
    guard(m_prompter, [this] { save03C0(); });
}

void SettingsPanel::CB_YYChange() {
    guard(m_prompter, [this] { save03F0(); });
}

void SettingsPanel::SpinEdit1Change() {
    // A value out of range is stored, then replaced by 0 and stored again: one step.
    const FileEdits::Step step(m_edits);
    bool stored = false;
    guard(m_prompter, [this, &stored] {
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

void SettingsPanel::CB_SMChange() {
    guard(m_prompter, [this] {
        save03F0();
        const bool timeMode = CB_SM->currentIndex() == kTimeOperatedScan;
        Edit2->setEnabled(timeMode);
        SpinButton2->setEnabled(timeMode);
    });
}

void SettingsPanel::CB_YXChange() {
    guard(m_prompter, [this] {
        save03F0();
        CB_CH->setEnabled(CB_YX->currentIndex() == kPriorityScan);
    });
}

void SettingsPanel::CheckBox2Click() {
    guard(m_prompter, [this] {
        save03F0();
        const bool on = CheckBox2->isChecked();
        CB_YX->setEnabled(on);
        CB_CH->setEnabled(on);
        CB_SM->setEnabled(on);
    });
}

void SettingsPanel::onChange(DropDown *box, void (SettingsPanel::*handler)()) {
    // A change of the selection, not every pick: picking the item shown stores nothing. A
    // load sets the lists without their handlers.
    connect(box, &QComboBox::currentIndexChanged, this, [this, handler] {
        if (!m_loading)
            (this->*handler)();
    });
}

void SettingsPanel::wireSettingsPanel() {
    for (DropDown *box : {CB_BY, CB_SD, CB_DP, CB_JT, CB_CS})
        onChange(box, &SettingsPanel::CB_BYChange);
    onChange(CB_YY, &SettingsPanel::CB_YYChange);
    onChange(CB_CH, &SettingsPanel::CB_YYChange);
    onChange(CB_SM, &SettingsPanel::CB_SMChange);
    onChange(CB_YX, &SettingsPanel::CB_YXChange);
    // The check box and the power field react to loads too (enable rule, label);
    // their store is held back while loading.
    connect(CheckBox2, &QCheckBox::toggled, this, &SettingsPanel::CheckBox2Click);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &SettingsPanel::SpinEdit1Change);

    auto stepper = [this](SpinButton *spin, QLineEdit *edit) {
        connect(spin, &SpinButton::upClicked, this, [this, edit] {
            guard(m_prompter, [edit] { edit->setText(TimeStepUp(edit->text())); });
        });
        connect(spin, &SpinButton::downClicked, this, [this, edit] {
            guard(m_prompter, [edit] { edit->setText(TimeStepDown(edit->text())); });
        });
    };
    stepper(SpinButton1, Edit1);
    stepper(SpinButton2, Edit2);
    stepper(SpinButton3, Edit3);
}

// A click into a time field stores Block03F0 (CB_YYChange). The filter also sees
// presses on a disabled field, which takes no click.
bool SettingsPanel::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == Edit1 || watched == Edit2 || watched == Edit3) &&
        static_cast<QWidget *>(watched)->isEnabled())
        CB_YYChange();
    // Up and Down step a time field as its arrows do, which are no Tab stops.
    if (event->type() == QEvent::KeyPress &&
        (watched == Edit1 || watched == Edit2 || watched == Edit3)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *spin = watched->findChild<SpinButton *>();
        if (spin && (key == Qt::Key_Up || key == Qt::Key_Down)) {
            (key == Qt::Key_Up ? spin->upButton() : spin->downButton())->click();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace qx
