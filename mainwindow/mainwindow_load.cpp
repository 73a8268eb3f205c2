#include "mainwindow.h"

#include "channelgrid.h"
#include "prompter.h"
#include "settingscodec.h"
#include "settingspanel.h"

namespace qx {

void MainWindow::ReadAndDeal_F() {
    const std::optional<RecordReport> report = showWorkingFile();
    if (!report) {
        m_prompter.message(QStringLiteral("no file!"));
        return;
    }
    // A new working file holds nothing yet; that is no fault to report.
    if (report->bytes == 0 || (report->complete() && report->bytes == kImageBytes))
        return;
    QStringList lines{m_texts.loadIncomplete};
    // Bytes after the image, or a partial record: what the lists of records do not show.
    if (report->bytes > kImageBytes || report->bytes % MemoryFrame::kSize != 0)
        lines << m_texts.loadLength.arg(report->bytes).arg(kImageBytes);
    const auto add = [&](const QString &text, const QList<int> &records) {
        if (!records.isEmpty())
            lines << text.arg(recordNames(m_texts.transfer, records));
    };
    add(m_texts.loadMissing, report->missing);
    add(m_texts.loadDamaged, report->undecodable);
    add(m_texts.loadForeign, report->foreign);
    m_prompter.message(lines.join(QLatin1Char('\n')));
}

std::optional<RecordReport> MainWindow::showWorkingFile() {
    if (!m_file.exists())
        return std::nullopt;
    m_image = m_file.readAll();
    return showImage(m_image);
}

RecordReport MainWindow::showImage(const QByteArray &image) {
    m_grid->clearChannelRows();
    Block03C0Values first;
    first.monitorKey = m_texts.initialMonitorKey;
    const int bands = int(bandNames(0).size());
    m_settings->applySettingsRecord(kRecord03C0, FrameText(save03C0(first)));
    m_settings->applySettingsRecord(kRecord03D0, FrameText(save03D0(0, 0, bands)));
    m_settings->applySettingsRecord(kRecord03F0, FrameText(save03F0(Block03F0Values{})));
    return forEachRecord(image, [this](int index, const QString &text) {
        if (index < kRecord03C0)
            m_grid->applyChannelRecord(index, text);
        else
            m_settings->applySettingsRecord(index, text);
    });
}

} // namespace qx
