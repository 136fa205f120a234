#pragma once

// One QApplication per test process, offscreen unless a platform is chosen: made on first use, deleted
// after the last test (Qt allows one application object at a time, and widgets need the full one).

#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

namespace zorvane::testing {

class TestApplicationEnvironment : public ::testing::Environment {
public:
    static QApplication& Get()
    {
        if (!application) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            application = new QApplication(argc, argv);
        }
        return *application;
    }

    // Deleting it lets Qt release what it holds (fonts among them) before the leak check.
    void TearDown() override
    {
        delete application;
        application = nullptr;
    }

private:
    static inline int argc = 1;
    static inline char name[] = "zorvane_app_tests";
    static inline char* argv[] = {name, nullptr};
    static inline QApplication* application = nullptr;
};

inline ::testing::Environment* const kTestApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new TestApplicationEnvironment);

inline QApplication& TestApplication() { return TestApplicationEnvironment::Get(); }

}  // namespace zorvane::testing
