#include "filldialog.h"

#include "channeltooltexts.h"
#include "error.h"
#include "frequency.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace qx {

FillDialog::FillDialog(const ChannelToolTexts &texts, const QString &heading, const QString &start,
                       int count, QWidget *parent)
    : ToolDialog(QStringLiteral("FillDialog"), QString(texts.fill).remove(QStringLiteral("...")),
                 heading, parent),
      m_snaps(texts.fillSnaps), m_count(count), m_start(new QLineEdit(start, this)),
      m_step(new QComboBox(this)), m_transmit(new QCheckBox(texts.fillTransmit, this)),
      m_preview(new QLabel(this)) {
    m_start->setObjectName(QStringLiteral("FillStart"));
    m_step->setObjectName(QStringLiteral("FillStep"));
    m_step->setEditable(true);
    m_step->setInsertPolicy(QComboBox::NoInsert);
    m_step->addItems({QStringLiteral("5"), QStringLiteral("6.25"), QStringLiteral("10"),
                      QStringLiteral("12.5"), QStringLiteral("25")});
    m_step->setCurrentIndex(3);
    m_transmit->setObjectName(QStringLiteral("FillTransmit"));
    m_transmit->setChecked(true);
    form()->addRow(texts.fillStart, m_start);
    form()->addRow(texts.fillStep, m_step);
    form()->addRow(m_transmit);
    m_preview->setObjectName(QStringLiteral("FillPreview"));
    m_preview->setWordWrap(true);
    form()->addRow(m_preview);
    addButtons(texts);
    m_start->selectAll();
    connect(m_start, &QLineEdit::textChanged, this, &FillDialog::showSnapping);
    connect(m_step, &QComboBox::currentTextChanged, this, &FillDialog::showSnapping);
    showSnapping();
}

void FillDialog::showSnapping() {
    constexpr int kShown = 3;
    QStringList run;
    bool snapped = false;
    const std::optional<qint64> step = stepUnits(this->step());
    try {
        const CheckedFrequency first = checkFrequencyText(start().trimmed());
        if (step && first.verdict == CheckedFrequency::Verdict::InRange)
            run = frequencyRun(first.text, *step, m_count, &snapped);
    } catch (const Error &) {
        // Not a number yet: OK says so.
    }
    if (run.size() > kShown)
        run = run.mid(0, kShown) << QStringLiteral("\u2026");
    m_preview->setText(snapped ? m_snaps.arg(run.join(QStringLiteral(", "))) : QString());
    m_preview->setVisible(snapped);
}

QString FillDialog::start() const {
    return m_start->text();
}

QString FillDialog::step() const {
    return m_step->currentText();
}

bool FillDialog::transmitToo() const {
    return m_transmit->isChecked();
}

} // namespace qx
