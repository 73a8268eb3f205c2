// Channels as CSV: export, the import checks of the grid editor, and the image built.
#include "channelcsv.h"
#include "sampleimage.h"

#include <QtTest>

using namespace qx;
using namespace qx::test;

namespace {

const QString kHeader =
    QStringLiteral("Channel,RxFrequency,RxTone,TxFrequency,TxTone,BusyLockout,Scan");

// A valid CSV of 16 channels with the given lines put in place of channel rows
// (key: channel number). Line n+1 holds channel n.
QString csvWith(const QMap<int, QString> &replaced) {
    QString csv = kHeader + QLatin1Char('\n');
    for (int n = 1; n <= 16; ++n)
        csv += replaced.value(n, QStringLiteral("%1,450.01250,OFF,,OFF,NO,NO").arg(n)) +
               QLatin1Char('\n');
    return csv;
}

ChannelCells channelOf(const QByteArray &image, int n) {
    return channelsOfImage(image)[std::size_t(n - 1)];
}

} // namespace

class TestChannelCsv : public QObject {
    Q_OBJECT
private slots:
    void exportsTheGrid();
    void roundTripKeepsEveryByte();
    void spreadsheetForms();
    void numberOnlyRowIsEmptyChannel_data();
    void numberOnlyRowIsEmptyChannel();
    void frequencyCheck_data();
    void frequencyCheck();
    void rejectedRow_data();
    void rejectedRow();
    void everyBadRowNamed();
    void missingChannelsAndHeader_data();
    void missingChannelsAndHeader();
};

void TestChannelCsv::exportsTheGrid() {
    const QString csv = exportChannelCsv(sampleImage());
    const QStringList lines = csv.split('\n');
    QCOMPARE(lines.size(), 18); // header, 16 rows, the empty text after the last line end
    QCOMPARE(lines[0], kHeader);
    QCOMPARE(lines[1], QStringLiteral("1,451.00625,67.0,461.00500,250.3,YES,NO"));
    QCOMPARE(lines[7], QStringLiteral("7,,,,,,"));
    QCOMPARE(lines[9], QStringLiteral("9,459.05625,91.5,,186.2,YES,YES"));
    QCOMPARE(lines[17], QString());
}

void TestChannelCsv::roundTripKeepsEveryByte() {
    // A record beyond the image rides along with the settings, untouched.
    const QByteArray image = sampleImage() + hexBytes("57 04 00 08 01 02 03 04 05 06 07 08");
    const CsvImport result = importCsv(exportChannelCsv(image), image);
    QCOMPARE(result.errors, QStringList());
    QCOMPARE(result.notes, QStringList());
    QCOMPARE(result.image.toHex(' '), image.toHex(' '));
}

void TestChannelCsv::spreadsheetForms() {
    // What spreadsheets write: a byte-order mark, CRLF, quoted fields, blanks, other
    // letter case, tones and frequencies without their trailing zeros, empty tone and
    // flag cells, blank lines and a row of empty cells.
    QString csv =
        QStringLiteral("\xFEFF"
                       "channel, rxfrequency ,RxTone,TxFrequency,TxTone,BusyLockout,Scan\r\n");
    csv += QStringLiteral("\"1\",\"450.0125\",\"67\",\"462.5625\",\"100\",\"yes\",\"No\"\r\n");
    csv += QStringLiteral("2, 450 ,,,, ,\r\n\r\n");
    csv += QStringLiteral("3,,OFF,,OFF,NO,NO\r\n");
    for (int n = 4; n <= 16; ++n)
        csv += QStringLiteral("%1,,,,,,\r\n").arg(n);
    csv += QStringLiteral(",,,,,,\r\n");
    const CsvImport result = importCsv(csv, sampleImage());
    QCOMPARE(result.errors, QStringList());
    QCOMPARE(channelOf(result.image, 1),
             (ChannelCells{"450.01250", "67.0", "462.56250", "100.0", "YES", "NO"}));
    QCOMPARE(channelOf(result.image, 2), (ChannelCells{"450.00000", "OFF", "", "OFF", "NO", "NO"}));
    QCOMPARE(channelOf(result.image, 3), ChannelCells{});
    QCOMPARE(result.image.mid(32 * 12), workedSettings());
}

void TestChannelCsv::numberOnlyRowIsEmptyChannel_data() {
    QTest::addColumn<QString>("row"); // in place of channel 1, which the sample image fills
    QTest::newRow("number alone") << "1";
    QTest::newRow("blanks around") << " 1 ";
    QTest::newRow("quoted") << "\"1\"";
    QTest::newRow("empty fields") << "1,,,,,,";
}

void TestChannelCsv::numberOnlyRowIsEmptyChannel() {
    QFETCH(QString, row);
    const CsvImport result = importCsv(csvWith({{1, row}}), sampleImage());
    QCOMPARE(result.errors, QStringList());
    QCOMPARE(channelOf(result.image, 1), ChannelCells{});
    QCOMPARE(result.image.mid(12, 12).toHex(' '),
             QByteArray("57 00 18 08 ff ff ff ff fb ff ff ff"));
}

void TestChannelCsv::frequencyCheck_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("snapNote");

    QTest::newRow("whole MHz") << "450"
                               << "450.00000" << false;
    QTest::newRow("four decimals") << "450.0125"
                                   << "450.01250" << false;
    QTest::newRow("six decimals round to 10 Hz") << "450.012512"
                                                 << "450.01250" << true;
    QTest::newRow("lowest") << "400"
                            << "400.00000" << false;
    QTest::newRow("highest snaps down") << "512.99999"
                                        << "512.99375" << true;
    QTest::newRow("5 kHz raster kept") << "450.01500"
                                       << "450.01500" << false;
    QTest::newRow("6.25 kHz raster kept") << "450.00625"
                                          << "450.00625" << false;
    QTest::newRow("never rounded up") << "450.01660"
                                      << "450.01250" << true;
    QTest::newRow("462.563") << "462.563"
                             << "462.56250" << true;
}

void TestChannelCsv::frequencyCheck() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(bool, snapNote);
    const CsvImport result = importCsv(
        csvWith({{5, QStringLiteral("5,%1,OFF,%1,OFF,NO,NO").arg(typed)}}), sampleImage());
    QCOMPARE(result.errors, QStringList());
    QCOMPARE(channelOf(result.image, 5).rx, stored);
    QCOMPARE(channelOf(result.image, 5).tx, stored);
    if (snapNote) {
        QCOMPARE(result.notes.size(), 2);
        QVERIFY2(result.notes[0].startsWith("line 6: RxFrequency"), qPrintable(result.notes[0]));
        QVERIFY(result.notes[0].contains(stored));
    } else {
        QCOMPARE(result.notes, QStringList());
    }
}

void TestChannelCsv::rejectedRow_data() {
    QTest::addColumn<QString>("row"); // put in place of channel 4, line 5
    QTest::addColumn<QString>("message");

    QTest::newRow("below range") << "4,399.99999,OFF,,OFF,NO,NO"
                                 << "RxFrequency '399.99999' is out of range";
    QTest::newRow("above range") << "4,450,OFF,513,OFF,NO,NO"
                                 << "TxFrequency '513' is out of range";
    QTest::newRow("lone point") << "4,.,OFF,,OFF,NO,NO"
                                << "RxFrequency '.' is not a frequency";
    QTest::newRow("two points") << "4,450.1.2,OFF,,OFF,NO,NO"
                                << "RxFrequency '450.1.2' is not a frequency";
    QTest::newRow("comma decimal") << "4,\"450,0125\",OFF,,OFF,NO,NO"
                                   << "RxFrequency '450,0125' is not a frequency";
    QTest::newRow("tone not in list") << "4,450,5.0,,OFF,NO,NO"
                                      << "RxTone '5.0' is not OFF or a CTCSS tone";
    QTest::newRow("tone text") << "4,450,OFF,,high,NO,NO"
                               << "TxTone 'high' is not OFF or a CTCSS tone";
    QTest::newRow("flag word") << "4,450,OFF,,OFF,1,NO"
                               << "BusyLockout '1' is not YES or NO";
    QTest::newRow("Chinese flag word") << "4,450,OFF,,OFF,NO,是"
                                       << "Scan '是' is not YES or NO";
    QTest::newRow("transmit without receive")
        << "4,,OFF,450,OFF,NO,NO"
        << "TxFrequency '450' given for a channel without RxFrequency";
    QTest::newRow("tone without receive")
        << "4,,67.0,,OFF,NO,NO"
        << "RxTone '67.0' given for a channel without RxFrequency";
    QTest::newRow("too few fields") << "4,450,OFF,,OFF,NO"
                                    << "6 fields, expected 7";
    QTest::newRow("two fields") << "4,450"
                                << "2 fields, expected 7";
    QTest::newRow("too many fields") << "4,450,OFF,,OFF,NO,NO,"
                                     << "8 fields, expected 7";
    QTest::newRow("stray quote") << "4,45\"0,OFF,,OFF,NO,NO"
                                 << "a quote inside an unquoted field";
    QTest::newRow("text after quote") << "4,\"450\"x,OFF,,OFF,NO,NO"
                                      << "text after the closing quote";
}

void TestChannelCsv::rejectedRow() {
    QFETCH(QString, row);
    QFETCH(QString, message);
    const CsvImport result = importCsv(csvWith({{4, row}}), sampleImage());
    QCOMPARE(result.image, QByteArray());
    QCOMPARE(result.errors.size(), 1);
    QVERIFY2(result.errors[0].startsWith("line 5: ") && result.errors[0].contains(message),
             qPrintable(result.errors[0]));
}

void TestChannelCsv::everyBadRowNamed() {
    // Channel 0 and 17 do not exist, 5 repeats; a quoted line break makes line 7 two
    // lines long, so the later line numbers count it; the last quote never closes.
    QString csv = kHeader + "\n";
    csv += "1,450,OFF,,OFF,NO,NO\n";         // 2
    csv += "0,450,OFF,,OFF,NO,NO\n";         // 3
    csv += "2,450,OFF,,OFF,NO,NO\n";         // 4
    csv += "5,450,OFF,,OFF,NO,NO\n";         // 5
    csv += "3,450,OFF,,OFF,MAYBE,NO\n";      // 6
    csv += "4,\"450\n.0\",OFF,,OFF,NO,NO\n"; // 7-8
    for (int n = 5; n <= 16; ++n)
        csv += QStringLiteral("%1,450,OFF,,OFF,NO,NO\n").arg(n); // 9-20, 5 again on 9
    csv += "17,450,OFF,,OFF,NO,NO\n";                            // 21
    csv += "\"16,450,OFF\n";                                     // 22
    const CsvImport result = importCsv(csv, sampleImage());
    QCOMPARE(result.image, QByteArray());
    const QStringList expectedStarts{
        "line 3: Channel '0'",           "line 6: BusyLockout 'MAYBE'",
        "line 7: RxFrequency '450\n.0'", "line 9: channel 5 is already given on line 5",
        "line 21: Channel '17'",         "line 22: a quoted field is not closed"};
    QCOMPARE(result.errors.size(), expectedStarts.size());
    for (int k = 0; k < expectedStarts.size(); ++k)
        QVERIFY2(result.errors[k].startsWith(expectedStarts[k]), qPrintable(result.errors[k]));
}

void TestChannelCsv::missingChannelsAndHeader_data() {
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QStringList>("errors");

    QString missing = csvWith({});
    missing.remove(QRegularExpression("\n(3|12),[^\n]*"));
    QTest::newRow("channels left out")
        << missing
        << QStringList{"channel 3 has no row (an empty channel needs a row with only its number)",
                       "channel 12 has no row (an empty channel needs a row with only its number)"};
    QString wrongHeader = csvWith({});
    wrongHeader.replace("RxTone,TxFrequency", "TxFrequency,RxTone");
    QTest::newRow("columns swapped")
        << wrongHeader << QStringList{"line 1: the header must be " + kHeader};
    // Named as what they are, not as a wrong header.
    QString utf16 = csvWith({});
    utf16.replace("\n", "\r\n");
    QTest::newRow("UTF-16") << QString::fromUtf8(
                                   QByteArray("\xFF\xFE", 2) +
                                   QByteArray(reinterpret_cast<const char *>(utf16.utf16()),
                                              utf16.size() * 2))
                            << QStringList{englishCsvTexts().utf16};
    QTest::newRow("CR-only line ends")
        << csvWith({}).replace("\n", "\r") << QStringList{englishCsvTexts().crOnly};
    QTest::newRow("empty file") << QString("\r\n\n")
                                << QStringList{"no header line; the first line must be " + kHeader};
}

void TestChannelCsv::missingChannelsAndHeader() {
    QFETCH(QString, csv);
    QFETCH(QStringList, errors);
    const CsvImport result = importCsv(csv, sampleImage());
    QCOMPARE(result.errors, errors);
    QCOMPARE(result.image, QByteArray());
}

QTEST_GUILESS_MAIN(TestChannelCsv)
#include "tst_channelcsv.moc"
