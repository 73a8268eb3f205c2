#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace qx {

// Copies of the radio's image in a backups folder beside the working file:
// radio-YYYYMMDD-HHMMSS.dat after a read, before-write-YYYYMMDD-HHMMSS.dat before a write.
// Only the newest kKept of these files stay; nothing else in the folder is touched.
class ImageBackups {
public:
    enum class Kind { Read, BeforeWrite };
    static constexpr int kKept = 50;

    explicit ImageBackups(QString folder);
    // backups/ in the folder of the working file.
    static ImageBackups besideFile(const QString &workingFile);

    const QString &folder() const { return m_folder; }
    // Saves the image under the name for that moment (a second one in the same second gets
    // -2, -3...), creating the folder, then removes the oldest beyond kKept. Returns the
    // new file's path; throws qx::Error naming the file and the reason.
    QString save(Kind kind, const QByteArray &image, const QDateTime &when);
    // The backup files' names, oldest first.
    QStringList files() const;

private:
    QString m_folder;
};

} // namespace qx
