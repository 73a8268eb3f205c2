#pragma once

#include <QString>
#include <QStringList>

namespace qx {

// pt.ini, read and written key by key: names are compared
// without regard to case, other keys and comments survive a write.
class PtIni {
public:
    explicit PtIni(QString path);
    // pt.ini in that folder.
    static PtIni inFolder(const QString &folder);
    // pt.ini in the program's data folder.
    static PtIni inDataFolder();

    const QString &path() const { return m_path; }
    // Why a pt.ini that is there cannot be read ("path: reason"); empty when it can, or
    // when there is none. Unreadable, it reads as empty: every value its default.
    QString problem() const;
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
    // The port numbers that section ports maps (keys COMn, n from 1), in ascending order.
    QList<int> mappedPorts() const;

private:
    QString m_path;
};

// The same device, whatever symbolic links (a by-id name, a link of one's own) lead to it.
bool sameDevice(const QString &a, const QString &b);

// The folder of the program file (not the current folder).
QString programFolder();

// The one place that decides where pt.ini, r_and_w.dat and the program's other files
// live: beside the program when this process can write into its folder (a portable
// copy, the build folder, a USB stick), else the user's data folder (~/.local/share/
// qx7420 on Linux), created when missing. A folder under /usr belongs to the package
// manager, so an installed program run by root does not leave files there either.
QString dataFolder(const QString &program);
// dataFolder() of the running program.
QString dataFolder();

} // namespace qx
