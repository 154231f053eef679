#pragma once

#include <QApplication>

namespace vokari::test {

// The one QApplication of a window test program (run with QT_QPA_PLATFORM=offscreen). It is
// never destroyed: tearing it down after main() returns races Qt's own globals.
inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "vokari-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace vokari::test
