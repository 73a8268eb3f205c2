// CHIRP's channel CSV: the mapping of every Duplex and Tone case onto the grid's values,
// the rows this radio cannot hold, and export then import giving the image back.
#include "chirpcsv.h"
#include "sampleimage.h"

#include <QtTest>

using namespace qx;
using namespace qx::test;

namespace {

const QString kHeader = kChirpHeader.join(',');

// A CHIRP row for channel 3 of the sample image (busy YES) with the fields given as
// "Column=value;Column=value" in place of what the format writes.
QString chirpRow(const QString &changes) {
    QMap<QString, QString> f{{"Location", "3"},
                             {"Frequency", "462.562500"},
                             {"Offset", "0.000000"},
                             {"rToneFreq", "88.5"},
                             {"cToneFreq", "88.5"},
                             {"DtcsCode", "023"},
                             {"DtcsPolarity", "NN"},
                             {"RxDtcsCode", "023"},
                             {"CrossMode", "Tone->Tone"},
                             {"Mode", "FM"},
                             {"TStep", "5.00"}};
    for (const QString &change : changes.split(';', Qt::SkipEmptyParts))
        f[change.section('=', 0, 0)] = change.section('=', 1);
    QStringList fields;
    for (const QString &column : kChirpHeader)
        fields << f.value(column);
    return fields.join(',');
}

ChannelCells cellsOf(const QString &text) {
    const QStringList c = text.split('|');
    return {c[0], c[1], c[2], c[3], c[4], c[5]};
}

} // namespace

class TestChirpCsv : public QObject {
    Q_OBJECT
private slots:
    void mapping_data();
    void mapping();
    void skipUnfitImportsTheRest();
    void fileProblemsWriteNothing_data();
    void fileProblemsWriteNothing();
    void exportImportGivesTheImageBack();
};

void TestChirpCsv::mapping_data() {
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("cells"); // rx|rxTone|tx|txTone|busy|scan when the row fits
    QTest::addColumn<QString>("unfit");

    const auto fits = [](const char *name, const char *changes, const char *cells) {
        QTest::newRow(name) << changes << cells << QString();
    };
    const auto unfit = [](const char *name, const char *changes, const char *why) {
        QTest::newRow(name) << changes << QString() << why;
    };
    fits("simplex", "", "462.56250|OFF|462.56250|OFF|YES|YES");
    fits("plus offset", "Duplex=+;Offset=5.000000", "462.56250|OFF|467.56250|OFF|YES|YES");
    fits("minus offset", "Duplex=-;Offset=0.0125", "462.56250|OFF|462.55000|OFF|YES|YES");
    fits("split", "Duplex=split;Offset=451.012500", "462.56250|OFF|451.01250|OFF|YES|YES");
    fits("transmit off", "Duplex=off;Offset=5.000000", "462.56250|OFF||OFF|YES|YES");
    fits("Tone: transmit only", "Tone=Tone;rToneFreq=100.0;cToneFreq=67.0",
         "462.56250|OFF|462.56250|100.0|YES|YES");
    fits("TSQL: both ways", "Tone=TSQL;rToneFreq=250.3;cToneFreq=67.0",
         "462.56250|67.0|462.56250|67.0|YES|YES");
    fits("Cross Tone->Tone", "Tone=Cross;rToneFreq=100.0;cToneFreq=67.0",
         "462.56250|67.0|462.56250|100.0|YES|YES");
    fits("Cross Tone->", "Tone=Cross;CrossMode=Tone->;rToneFreq=100.0;cToneFreq=67.0",
         "462.56250|OFF|462.56250|100.0|YES|YES");
    fits("Cross ->Tone", "Tone=Cross;CrossMode=->Tone;rToneFreq=100.0;cToneFreq=67.0",
         "462.56250|67.0|462.56250|OFF|YES|YES");
    fits("tone with two decimals, other case", "Tone=tsql;cToneFreq=88.50",
         "462.56250|88.5|462.56250|88.5|YES|YES");
    fits("unused tone columns mean nothing", "rToneFreq=;cToneFreq=x;DtcsCode=999",
         "462.56250|OFF|462.56250|OFF|YES|YES");
    fits("Skip S: no scan", "Skip=S", "462.56250|OFF|462.56250|OFF|YES|NO");
    fits("Skip P: scan", "Skip=P", "462.56250|OFF|462.56250|OFF|YES|YES");
    fits("busy of a channel that was empty", "Location=7", "462.56250|OFF|462.56250|OFF|NO|YES");
    fits("busy of a channel with it off", "Location=2", "462.56250|OFF|462.56250|OFF|NO|YES");
    fits("onto the raster", "Frequency=462.563", "462.56250|OFF|462.56250|OFF|YES|YES");

    unfit("location beyond 16", "Location=17", "Location 17 is beyond this radio's 16 channels");
    unfit("location 0", "Location=0", "Location '0' is not a channel from 1 to 16");
    unfit("frequency below the band", "Frequency=146.520000",
          "Frequency '146.520000' is out of range (400 to 512.99999 MHz)");
    unfit("offset beyond the band", "Frequency=510;Duplex=+;Offset=5",
          "Frequency + Offset '515' is out of range");
    unfit("split beyond the band", "Duplex=split;Offset=600", "Offset '600' is out of range");
    unfit("offset not a number", "Duplex=-;Offset=5e0", "Offset '5e0' is not a number of MHz");
    unfit("duplex unknown", "Duplex=x", "Duplex 'x' is not empty, +, -, split or off");
    unfit("frequency empty", "Frequency=", "Frequency is empty");
    unfit("DTCS", "Tone=DTCS", "Tone 'DTCS' is a DTCS mode, which this radio cannot hold");
    unfit("Cross to DTCS", "Tone=Cross;CrossMode=Tone->DTCS",
          "CrossMode 'Tone->DTCS' is a DTCS mode, which this radio cannot hold");
    unfit("reverse tone squelch", "Tone=TSQL-R", "Tone 'TSQL-R' is not empty, Tone, TSQL or Cross");
    unfit("tone missing", "Tone=Tone;rToneFreq=", "Tone 'Tone' needs a tone in rToneFreq");
    unfit("tone outside the list", "Tone=TSQL;cToneFreq=69.3",
          "cToneFreq '69.3' is not OFF or a CTCSS tone of the list");
    unfit("every reason at once", "Location=20;Tone=DTCS;Frequency=1",
          "Location 20 is beyond this radio's 16 channels; Tone 'DTCS' is a DTCS mode");
    unfit("a field too many", "Comment=a,b", "22 fields, the header has 21");
}

void TestChirpCsv::mapping() {
    QFETCH(QString, changes);
    QFETCH(QString, cells);
    QFETCH(QString, unfit);
    const ChirpChannels result =
        parseChirpCsv(kHeader + "\r\n" + chirpRow(changes) + "\r\n", sampleImage());
    QCOMPARE(result.problems.size(), 0);
    QCOMPARE(result.rows.size(), 1);
    const ChirpRow &row = result.rows[0];
    QCOMPARE(row.line, 2);
    QVERIFY2(row.unfit.startsWith(unfit) && row.unfit.isEmpty() == unfit.isEmpty(),
             qPrintable(row.unfit));
    if (unfit.isEmpty())
        QCOMPARE(row.cells, cellsOf(cells));
}

void TestChirpCsv::skipUnfitImportsTheRest() {
    // Other letter case and an extra column in the header, quoted fields, blank lines,
    // a Location given twice, rows out of order; channels without a row become empty, a
    // channel whose only row is unfit stays as it was, and the settings stay.
    QString csv = kHeader.toLower() + ",Extra\n";
    csv += "\n" + chirpRow("Location=5;Frequency=\"450.000000\";Skip=S") + ",x\n"; // 3
    csv += chirpRow("Location=17") + ",x\n";                                       // 4
    csv += chirpRow("Location=1;Tone=DTCS") + ",x\n";                              // 5
    csv += chirpRow("Location=5") + ",x\n";                                        // 6
    csv += chirpRow("Location=2;Frequency=462.563") + ",x\n";                      // 7
    const QStringList unfit{"line 4: Location 17 is beyond this radio's 16 channels",
                            "line 5: Tone 'DTCS' is a DTCS mode, which this radio cannot hold",
                            "line 6: Location 5 is already given on line 3"};

    CsvImport result = importCsv(csv, sampleImage());
    QCOMPARE(result.errors, unfit);
    QCOMPARE(result.image, QByteArray());

    result = importCsv(csv, sampleImage(), true);
    QCOMPARE(result.errors, QStringList());
    QCOMPARE(result.skipped, unfit);
    QCOMPARE(result.notes,
             QStringList{"line 7: Frequency 462.563 stored as 462.56250 (channel raster)"});
    QByteArray expected;
    for (int n = 1; n <= 16; ++n)
        expected +=
            n == 5   ? channelRecords(n, {"450.00000", "OFF", "450.00000", "OFF", "YES", "NO"})
            : n == 2 ? channelRecords(n, {"462.56250", "OFF", "462.56250", "OFF", "NO", "YES"})
            : n == 1 ? sampleImage().left(24)
                     : channelRecords(n, {});
    QCOMPARE(result.image.toHex(' '), (expected + workedSettings()).toHex(' '));
}

void TestChirpCsv::fileProblemsWriteNothing_data() {
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QString>("error");
    QString header = kHeader;
    QTest::newRow("missing columns") << header.remove(",Skip").remove("CrossMode,") + "\n"
                                     << "line 1: the header lacks the columns CrossMode, Skip";
    QTest::newRow("a quote in the header") << QString(kHeader).replace("Name", "Na\"me") + "\n"
                                           << "line 1: a quote inside an unquoted field";
}

void TestChirpCsv::fileProblemsWriteNothing() {
    QFETCH(QString, csv);
    QFETCH(QString, error);
    const CsvImport result = importCsv(csv, sampleImage(), true);
    QCOMPARE(result.image, QByteArray());
    QCOMPARE(result.errors.value(0), error);
}

void TestChirpCsv::exportImportGivesTheImageBack() {
    const QByteArray image = sampleImage();
    const QString csv = exportChirpCsv(image);
    const QStringList lines = csv.split('\n');
    QCOMPARE(lines.size(), 1 + 15 + 1); // channel 7 is empty
    QCOMPARE(lines[0], kHeader);
    QCOMPARE(lines[1], "1,,451.006250,+,9.998750,Cross,250.3,67.0,023,NN,023,Tone->Tone,FM,5.00,S,"
                       ",,,,,");
    QCOMPARE(lines[8], "9,,459.056250,off,0.000000,Cross,186.2,91.5,023,NN,023,Tone->Tone,FM,"
                       "5.00,,,,,,,");
    const CsvImport back = importCsv(csv, image);
    QCOMPARE(back.errors, QStringList());
    QCOMPARE(back.notes, QStringList());
    QCOMPARE(back.image.toHex(' '), image.toHex(' '));
}

QTEST_GUILESS_MAIN(TestChirpCsv)
#include "tst_chirpcsv.moc"
