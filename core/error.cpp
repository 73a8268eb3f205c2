#include "error.h"

namespace qx {

Error invalidInteger(const QString &text) {
    return Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

Error invalidFloat(const QString &text) {
    return Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

} // namespace qx
