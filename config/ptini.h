#pragma once

#include <QString>
#include <QStringList>

namespace qx {

// pt.ini beside the program, read and written key by key: names are compared
// without regard to case, other keys and comments survive a write.
class PtIni {
public:
    explicit PtIni(QString path);
    // pt.ini in the folder of the running program.
    static PtIni besideProgram();

    const QString &path() const { return m_path; }
    QString readString(const QString &section, const QString &key, const QString &def) const;
    // A value that is not a decimal integer reads as the default.
    int readInt(const QString &section, const QString &key, int def) const;
    // Creates the file and section when absent. Throws qx::Error when it cannot be written.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInt(const QString &section, const QString &key, int value);

    QString language() const { return readString("LG", "LG", "C"); }
    int comPort() const { return readInt("pt", "COM", 1); }
    // The device for port number n: key COMn of section ports, else the platform's name.
    // A /dev/serial/by-id/ name keeps a cable on its number in any USB socket.
    QString deviceForPort(int port) const;
    // The lowest port number that maps to the device, by any name of it (a by-id link, a
    // link of one's own); 0 when none does.
    int portForDevice(const QString &device) const;
    // The keys of a section, as written.
    QStringList keys(const QString &section) const;

private:
    QString m_path;
};

// The folder of the program file (not the current folder).
QString programFolder();

} // namespace qx
