#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace vokari::test {

// The one QApplication of a window test program (run with QT_QPA_PLATFORM=offscreen). It is
// deleted when the last test has run: destroying it after main() returns races Qt's globals.
inline QApplication& qtApp() {
    class AppEnvironment : public ::testing::Environment {
    public:
        QApplication* app = nullptr;
        void TearDown() override {
            delete app;
            app = nullptr;
        }
    };
    static int argc = 1;
    static char name[] = "vokari-test";
    static char* argv[] = {name, nullptr};
    static AppEnvironment* environment = [] {
        auto* env = new AppEnvironment;
        env->app = new QApplication(argc, argv);
        ::testing::AddGlobalTestEnvironment(env); // owned by googletest
        return env;
    }();
    return *environment->app;
}

// A named child of a window, which the test expects to find.
template <typename T> T* child(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// A tool window, shown and on screen.
template <typename Window, typename... Args> std::unique_ptr<Window> shownWindow(Args&&... args) {
    auto window = std::make_unique<Window>(std::forward<Args>(args)...);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

} // namespace vokari::test
