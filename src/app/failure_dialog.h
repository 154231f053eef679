#pragma once

#include <QString>
#include <exception>

namespace vokari::ui {

// A core failure worded for the screen in the window's language, naming files as the user finds
// them on this system. Windows put it under their own lead line ("...を保存できませんでした。").
QString failureText(const std::exception& error);

} // namespace vokari::ui
