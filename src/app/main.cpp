#include <QApplication>
#include <iostream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::cerr << "vokari: the launcher window is not built yet; use vokari-cli\n";
    return 1;
}
