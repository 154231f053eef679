#pragma once

#include <QString>
#include <exception>

namespace vokari::ui {

// A core failure worded for the screen in the window's language, naming files as the user finds
// them on this system. Windows put it under their own lead line ("...を保存できませんでした。").
QString failureText(const std::exception& error);

// The system's reason for a failure (an errno value) in the window's language, for windows that
// list several failures one line each; empty for 0.
QString systemReasonText(int errorNumber);

// The line an end message adds when the work removed `count` temporary files that an
// interrupted run had left; empty for 0.
QString leftoversText(size_t count);

} // namespace vokari::ui
