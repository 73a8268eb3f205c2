#include "workingimage.h"

#include "channelgrid.h"
#include "edithistory.h"
#include "error.h"
#include "filecopy.h"
#include "prompter.h"
#include "settingscodec.h"
#include "settingspanel.h"
#include "windowtexts.h"

#include <QScopeGuard>

namespace qx {

WorkingImage::WorkingImage(WorkingFile &file, const WindowTexts &texts, Prompter &prompter,
                           QObject *parent)
    : QObject(parent), m_file(file), m_texts(texts), m_prompter(prompter) {
    // The history keeps the bytes in hand; it never reads the file itself, and it writes
    // only over bytes the window wrote.
    m_history = new EditHistory(EditHistory::Access{[this] { return m_image; },
                                                    [this](const QByteArray &bytes) {
                                                        ensureUnchanged();
                                                        saveFileAtomically(m_file.path(), bytes);
                                                        m_image = bytes;
                                                    },
                                                    [this] { show(m_image); }},
                                this);
    m_history->setObjectName(QStringLiteral("EditHistory"));
}

WorkingImage::~WorkingImage() = default;

void WorkingImage::attach(ChannelGrid *grid, SettingsPanel *settings) {
    m_grid = grid;
    m_settings = settings;
}

void WorkingImage::ReadAndDeal_F() {
    const std::optional<RecordReport> report = showFile();
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

std::optional<RecordReport> WorkingImage::showFile() {
    if (!m_file.exists())
        return std::nullopt;
    m_image = m_file.readAll();
    return show(m_image);
}

void WorkingImage::showInHand() {
    show(m_image);
}

RecordReport WorkingImage::show(const QByteArray &image) {
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

// Each store is an undo step of its own unless the handler groups several into one.
void WorkingImage::commitChannel(int channel, const ChannelCells &cells) {
    {
        const FileEdits::Step step(*this);
        storeChannel(channel, cells);
    }
    show(m_image);
}

void WorkingImage::storeChannel(int channel, const ChannelCells &cells) {
    const auto frames = encodeChannelFrames(channel, cells);
    storeRecords(2 * (channel - 1), {frames[0], frames[1]});
}

void WorkingImage::storeRecord(int record, const MemoryFrame &frame) {
    storeRecords(record, {frame});
}

void WorkingImage::storeRecords(int first, const QList<MemoryFrame> &frames) {
    const FileEdits::Step step(*this);
    m_file.StoreFrames(first, frames);
    placeRecords(m_image, first, frames);
}

void WorkingImage::resetChannels(const QString &frequency) {
    const FileEdits::Step step(*this);
    m_grid->brush_StringGrid(frequency);
}

void WorkingImage::beginStep() {
    if (m_depth == 0)
        ensureUnchanged();
    ++m_depth;
    m_history->begin();
}

void WorkingImage::endStep() noexcept {
    m_history->end();
    --m_depth;
}

void WorkingImage::ensureUnchanged() {
    // The one read of a user action: another program may have written the file since the
    // window last did. Its bytes are shown and kept, never overwritten or undone.
    const QByteArray now = m_file.readAll();
    if (now == m_image)
        return;
    m_image = now;
    m_history->clear();
    show(m_image);
    throw Error(m_texts.changedOnDisk);
}

void WorkingImage::replace(const std::function<void()> &write) {
    // Whatever the file held, changed elsewhere or not, is what the undo step puts back:
    // a file replaced whole needs no check that it is as the window left it.
    try {
        m_image = m_file.readAll();
    } catch (const Error &) {
    }
    ++m_depth;
    const auto unwind = qScopeGuard([this] { --m_depth; });
    const FileEdits::Step step(*this);
    write();
    m_image = m_file.readAll();
}

} // namespace qx
