#pragma once

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// A test suite whose tests need widgets: one QApplication while the suite
// runs, gone again before Qt's own static objects are destroyed at exit.
class WidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "widget_tests";
        static char *argv[] = {name, nullptr};
        if (QApplication::instance() == nullptr)
            application() = std::make_unique<QApplication>(argc, argv);
    }

    static void TearDownTestSuite() { application().reset(); }

private:
    static std::unique_ptr<QApplication> &application()
    {
        static std::unique_ptr<QApplication> instance;
        return instance;
    }
};

// A suite that drives a program's main window: closing the window must not
// end the application that the suite's other tests still need.
class ProgramWindowTest : public WidgetTest {
protected:
    static void SetUpTestSuite()
    {
        WidgetTest::SetUpTestSuite();
        QApplication::setQuitOnLastWindowClosed(false);
    }

    // The window's frame lies wholly on its screen with its centre there,
    // wherever the window manager would have put it.
    static void expectCentredOnTheScreen(const QWidget &window)
    {
        ASSERT_NE(window.screen(), nullptr);
        const QRect area = window.screen()->availableGeometry();
        const QRect frame = window.frameGeometry();
        EXPECT_TRUE(area.contains(frame)) << frame.width() << "x" << frame.height();
        EXPECT_LE((frame.center() - area.center()).manhattanLength(), 1)
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    }
};
