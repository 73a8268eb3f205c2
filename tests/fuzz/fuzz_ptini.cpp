// pt.ini of any bytes. Reading the language, the port and the port mapping never fails;
// the port falls back to 1 when its value is not a number. Writing one key (as the
// language menu and the port panel do) leaves that key with the written value and every
// other key with the value it had, or is refused with qx::Error and changes nothing.
#include "error.h"
#include "fuzzcheck.h"
#include "ptini.h"

#include <QFile>
#include <QMap>

#include <SimpleIni.h>

using namespace qx;

namespace {

using Values = QMap<QPair<QString, QString>, QString>; // (section, key) lower case -> value

Values allValues(const QString &path) {
    CSimpleIniA ini(false, false, false);
    ini.SetUnicode(true);
    Values values;
    if (ini.LoadFile(QFile::encodeName(path).constData()) < 0)
        return values;
    const PtIni pt(path);
    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const auto &section : sections) {
        CSimpleIniA::TNamesDepend keys;
        ini.GetAllKeys(section.pItem, keys);
        for (const auto &key : keys) {
            const QString s = QString::fromUtf8(section.pItem);
            const QString k = QString::fromUtf8(key.pItem);
            values.insert({s.toLower(), k.toLower()}, pt.readString(s, k, QString()));
        }
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const bool unset = qunsetenv("QX7420_DEVICE");
    Q_UNUSED(unset);
    const QString path = fuzz::scratchPath(QStringLiteral("pt.ini"));
    const QByteArray content = fuzz::bytesOf(data, size);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            f.write(content) != content.size())
            fuzz::fail(__FILE__, __LINE__, "write scratch file", f.errorString());
    }

    PtIni ini(path);
    ini.language();
    const int port = ini.comPort();
    bool numeric = false;
    const int value = ini.readString("pt", "COM", QString()).trimmed().toInt(&numeric);
    FUZZ_CHECK(port == (numeric ? value : 1));
    for (int n = 0; n <= 9; ++n)
        FUZZ_CHECK(!ini.deviceForPort(n).isEmpty());

    const Values before = allValues(path);
    QString section, key, written;
    switch (size > 0 ? data[0] % 3 : 0) {
    case 0:
        section = "LG", key = "LG", written = size > 1 && data[1] % 2 ? "E" : "C";
        break;
    case 1:
        section = "pt", key = "COM", written = QString::number(size % 9);
        break;
    default:
        section = "ports", key = "COM2", written = "/dev/ttyACM0";
        break;
    }
    try {
        ini.writeString(section, key, written);
    } catch (const Error &) {
        // Refused: the file is as it was.
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::ReadOnly) && f.readAll() == content);
        return 0;
    }
    FUZZ_CHECK(ini.readString(section, key, QString()) == written);
    Values expected = before;
    expected.insert({section.toLower(), key.toLower()}, written);
    const Values after = allValues(path);
    FUZZ_CHECK_MSG(after == expected,
                   QStringLiteral("%1 keys before, %2 after").arg(before.size()).arg(after.size()));
    return 0;
}
