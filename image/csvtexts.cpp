#include "csvtexts.h"

namespace qx {

CsvTexts englishCsvTexts() {
    CsvTexts t;
    t.line = QStringLiteral("line %1: %2");
    t.joiner = QStringLiteral("; ");
    t.notFrequency = QStringLiteral("%1 '%2' is not a frequency in MHz");
    t.outOfRange = QStringLiteral("%1 '%2' is out of range (400 to 512.99999 MHz)");
    t.notTone = QStringLiteral("%1 '%2' is not OFF or a CTCSS tone of the list");
    t.notFlag = QStringLiteral("%1 '%2' is not YES or NO");
    t.snapped = QStringLiteral("%1 %2 stored as %3 (channel raster)");
    t.givenWithoutRx = QStringLiteral("%1 '%2' given for a channel without %3");
    t.quoteInside = QStringLiteral("a quote inside an unquoted field");
    t.textAfterQuote = QStringLiteral("text after the closing quote of a field");
    t.quoteNotClosed = QStringLiteral("a quoted field is not closed");
    t.utf16 = QStringLiteral("the file is in UTF-16; save it as CSV in UTF-8 and import that");
    t.crOnly = QStringLiteral("the lines end with CR alone (old Mac line ends); save the file "
                              "with LF or CRLF line ends and import that");
    t.noHeader = QStringLiteral("no header line; the first line must be %1");
    t.wrongHeader = QStringLiteral("the header must be %1");
    t.fieldCount = QStringLiteral("%1 fields, expected %2");
    t.pasteColumns = QStringLiteral("%1 columns, expected 6 or 7");
    t.notChannel = QStringLiteral("Channel '%1' is not a channel number from 1 to 16");
    t.channelTwice = QStringLiteral("channel %1 is already given on line %2");
    t.channelMissing =
        QStringLiteral("channel %1 has no row (an empty channel needs a row with only its number)");
    t.chirpNoHeader = QStringLiteral("no CHIRP header line with a Location column");
    t.lacksColumn = QStringLiteral("the header lacks the column %1");
    t.lacksColumns = QStringLiteral("the header lacks the columns %1");
    t.busyNotKept = QStringLiteral("the image's busy lock-out cannot be kept: %1");
    t.chirpFieldCount = QStringLiteral("%1 fields, the header has %2");
    t.locationBeyond = QStringLiteral("Location %1 is beyond this radio's 16 channels");
    t.locationNotChannel = QStringLiteral("Location '%1' is not a channel from 1 to 16");
    t.locationTwice = QStringLiteral("Location %1 is already given on line %2");
    t.dtcsTone = QStringLiteral("Tone '%1' is a DTCS mode, which this radio cannot hold");
    t.unknownTone = QStringLiteral("Tone '%1' is not empty, Tone, TSQL or Cross");
    t.dtcsCrossMode = QStringLiteral("CrossMode '%1' is a DTCS mode, which this radio cannot hold");
    t.unknownCrossMode = QStringLiteral("CrossMode '%1' is not Tone->Tone, Tone-> or ->Tone");
    t.unknownDuplex = QStringLiteral("Duplex '%1' is not empty, +, -, split or off");
    t.offsetNotNumber = QStringLiteral("Offset '%1' is not a number of MHz");
    t.frequencyEmpty = QStringLiteral("Frequency is empty");
    t.toneMissing = QStringLiteral("Tone '%1' needs a tone in %2");
    return t;
}

CsvTexts chineseCsvTexts() {
    CsvTexts t;
    t.line = QStringLiteral("第%1行：%2");
    t.joiner = QStringLiteral("；");
    t.notFrequency = QStringLiteral("%1“%2”不是以MHz为单位的频率");
    t.outOfRange = QStringLiteral("%1“%2”超出范围（400至512.99999 MHz）");
    t.notTone = QStringLiteral("%1“%2”不是OFF，也不是列表中的CTCSS亚音");
    t.notFlag = QStringLiteral("%1“%2”不是YES或NO");
    t.snapped = QStringLiteral("%1 %2 按信道步进存为 %3");
    t.givenWithoutRx = QStringLiteral("没有%3的信道给出了%1“%2”");
    t.quoteInside = QStringLiteral("没有引号的字段中有引号");
    t.textAfterQuote = QStringLiteral("字段的结束引号后面还有文字");
    t.quoteNotClosed = QStringLiteral("带引号的字段没有结束");
    t.utf16 = QStringLiteral("文件是 UTF-16 编码；请另存为 UTF-8 编码的 CSV 后再导入");
    t.crOnly = QStringLiteral("各行只以 CR 结尾（旧 Mac 格式）；请以 LF 或 CRLF 行尾另存后再导入");
    t.noHeader = QStringLiteral("没有标题行；第一行必须是 %1");
    t.wrongHeader = QStringLiteral("标题行必须是 %1");
    t.fieldCount = QStringLiteral("有%1个字段，应为%2个");
    t.pasteColumns = QStringLiteral("有%1列，应为6或7列");
    t.notChannel = QStringLiteral("Channel“%1”不是1至16的信道号");
    t.channelTwice = QStringLiteral("信道%1已在第%2行给出");
    t.channelMissing = QStringLiteral("信道%1没有对应的行（空信道也要有一行，只写信道号）");
    t.chirpNoHeader = QStringLiteral("没有带Location列的CHIRP标题行");
    t.lacksColumn = QStringLiteral("标题行缺少列 %1");
    t.lacksColumns = t.lacksColumn;
    t.busyNotKept = QStringLiteral("无法保留原数据中的禁发设置：%1");
    t.chirpFieldCount = QStringLiteral("有%1个字段，标题行有%2个");
    t.locationBeyond = QStringLiteral("Location %1超出本机的16个信道");
    t.locationNotChannel = QStringLiteral("Location“%1”不是1至16的信道");
    t.locationTwice = QStringLiteral("Location %1已在第%2行给出");
    t.dtcsTone = QStringLiteral("Tone“%1”是DTCS方式，本机不能保存");
    t.unknownTone = QStringLiteral("Tone“%1”不是空、Tone、TSQL或Cross");
    t.dtcsCrossMode = QStringLiteral("CrossMode“%1”是DTCS方式，本机不能保存");
    t.unknownCrossMode = QStringLiteral("CrossMode“%1”不是Tone->Tone、Tone->或->Tone");
    t.unknownDuplex = QStringLiteral("Duplex“%1”不是空、+、-、split或off");
    t.offsetNotNumber = QStringLiteral("Offset“%1”不是以MHz为单位的数");
    t.frequencyEmpty = QStringLiteral("Frequency为空");
    t.toneMissing = QStringLiteral("Tone“%1”需要%2中的亚音");
    return t;
}

CsvTexts csvTexts(Language language) {
    return language == Language::English ? englishCsvTexts() : chineseCsvTexts();
}

} // namespace qx
