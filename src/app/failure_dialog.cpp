#include "app/failure_dialog.h"

namespace vokari::ui {

QString failureText(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

} // namespace vokari::ui
