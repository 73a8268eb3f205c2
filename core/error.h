#pragma once

#include <QString>
#include <stdexcept>

namespace qx {

// The one error type of the program. Operations throw it; the guard around every
// event handler and timer tick shows its message and lets the program go on.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// "'%s' is not a valid integer value" and its floating-point twin: the texts users
// know from the original tool.
Error invalidInteger(const QString &text);
Error invalidFloat(const QString &text);

} // namespace qx
