#include "spoolanswer.h"

#include <cups/cups.h>

namespace qx {

SpoolAnswer lastSpoolAnswer() {
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return {};
    return {false, QString::fromUtf8(cupsLastErrorString())};
}

} // namespace qx
