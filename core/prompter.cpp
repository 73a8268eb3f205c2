#include "prompter.h"

#include "error.h"

#include <exception>

namespace qx {

void guard(Prompter &prompter, const std::function<void()> &handler) {
    try {
        handler();
    } catch (const Error &e) {
        prompter.error(e.message());
    } catch (const std::exception &e) {
        prompter.error(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        prompter.error(QStringLiteral("An unexpected error occurred."));
    }
}

} // namespace qx
