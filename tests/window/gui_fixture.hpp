#pragma once
#include "commands/application.hpp"
#include "app/window/main_window.hpp"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

// A real main window over a freshly started application with a fixed seed.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto state = create_app_state();
        ASSERT_NE(state, nullptr);
        app = std::make_unique<Application>(std::move(state));
        app->random().seed(77);
        window = std::make_unique<MainWindow>(*app);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        window.reset();
        app.reset();
    }

    template <typename T>
    T* widget(int number) {
        return qobject_cast<T*>(window->control(number));
    }

    // Runs answer on the next modal dialog that opens (message box or file
    // dialog), as a user would answer it.
    static void when_modal_opens(std::function<void(QWidget*)> answer) {
        // A timer owned by the application polls until the modal shows; it
        // holds nothing that holds it, so nothing is left behind.
        auto* poll = new QTimer(qApp);
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            poll->stop();
            poll->deleteLater();
            answer(modal);
        });
        poll->start();
    }

    std::unique_ptr<Application> app;
    std::unique_ptr<MainWindow> window;
};
