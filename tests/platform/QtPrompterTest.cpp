#include "platform/widgets/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ClickCounter.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>

using namespace platform;

namespace {

// Each case makes its application and ends it, so that one case's boxes
// and windows never meet the next one's.
class CaseApplication {
public:
    CaseApplication() : m_application(m_argc, m_argv) {}

private:
    int m_argc = 1;
    char m_name[23] = "platform_widgets_tests";
    char *m_argv[2] = {m_name, nullptr};
    QApplication m_application;
};

} // namespace

TEST(QtPrompter, WorkerWaitsForTheAnswerGivenOnTheGuiThread)
{
    const CaseApplication app;

    QtPrompter prompter(true); // as on a screen, which the offscreen tests have not
    int helpShown = 0;
    MessageRequest request;
    request.title = QStringLiteral("The Zentavo");
    request.text = QStringLiteral("Do you want to break execution of the program?");
    request.icon = PromptIcon::Question;
    request.buttons = PromptButton::Yes | PromptButton::No;
    request.help = [&helpShown] { ++helpShown; };

    // The box runs its own event loop on the GUI thread; a timer there plays
    // the user: Help first (the box stays), then No.
    QMessageBox *seen = nullptr;
    int helpClicks = 0;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = box;
        EXPECT_EQ(box->thread(), QCoreApplication::instance()->thread());
        EXPECT_EQ(box->text(), request.text);
        EXPECT_EQ(box->windowTitle(), request.title);
        if (helpClicks++ == 0)
            box->button(QMessageBox::Help)->click();
        else
            box->button(QMessageBox::No)->click();
    });
    user.start(20);

    std::future<PromptButton> answer = std::async(std::launch::async, [&] { return prompter.message(request); });
    for (int i = 0; i < 500 && answer.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready; ++i)
        QApplication::processEvents();
    user.stop();
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(helpShown, 1);
    EXPECT_EQ(helpClicks, 2);
    EXPECT_EQ(answer.get(), PromptButton::No);
}

// An unattended run must not wait for ever on a box nobody sees.
TEST(QtPrompter, ABoxWithATimeLimitClosesItselfUnanswered)
{
    const CaseApplication app;

    MessageRequest request;
    request.text = QStringLiteral("Please, insert next blank disk");
    request.buttons = PromptButton::Ok | PromptButton::Cancel;
    request.timeoutMs = 50;
    QtPrompter prompter(true);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(prompter.message(request), PromptButton::None);
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(QtPrompter, ANoticeThatDoesNotWaitLeavesTheOtherWindowsTakingInput)
{
    const CaseApplication app;

    MessageRequest request;
    request.text = QStringLiteral("There is no notification area");
    request.waits = false;
    QtPrompter prompter(true);
    EXPECT_EQ(prompter.message(request), PromptButton::None);
    auto *box = qobject_cast<QMessageBox *>(QApplication::topLevelWidgets().value(0));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QPointer<QMessageBox> closed(box);
    box->button(QMessageBox::Ok)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
}

namespace {

// Plays the user on the modal dialogs the prompter shows: act gets each new
// one (on the GUI thread) until the prompt returns.
template <typename Prompt>
auto answerAs(const std::function<void(QWidget &)> &act, Prompt prompt)
{
    QWidget *last = nullptr;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget *shown = QApplication::activeModalWidget();
        if (shown && shown != last) {
            last = shown;
            act(*shown);
        }
    });
    user.start(20);
    return prompt();
}

} // namespace

// A window-modal box or Find dialog blocks no window but its owner's, so
// that the scheduler's icon goes on taking clicks while a question or a
// viewer's Find is open; an application-modal one blocks them all.
TEST(QtPrompter, AWindowModalBoxLeavesTheOtherWindowsTakingClicks)
{
    const CaseApplication app;
    for (const auto &[modality, presses] : {std::pair{Qt::ApplicationModal, 0}, std::pair{Qt::WindowModal, 1}}) {
        SCOPED_TRACE(int(modality));
        QtPrompter prompter(true, modality);
        const auto clickOther
            = [](ClickCounter &other) { QTest::mouseClick(other.windowHandle(), Qt::RightButton, {}, QPoint(11, 11)); };
        {
            ClickCounter other;
            other.resize(22, 22);
            other.show();
            MessageRequest request;
            request.text = QStringLiteral("You are sure, what want to start backup copying?");
            const PromptButton answer = answerAs(
                [&](QWidget &box) {
                    clickOther(other);
                    static_cast<QMessageBox &>(box).button(QMessageBox::Ok)->click();
                },
                [&] { return prompter.message(request); });
            EXPECT_EQ(answer, PromptButton::Ok);
            EXPECT_EQ(other.presses, presses) << "question";
        }
        {
            ClickCounter other;
            other.resize(22, 22);
            other.show();
            QWidget viewer;
            viewer.show();
            viewer.activateWindow();
            const std::optional<FindRequest> answer = answerAs(
                [&](QWidget &find) {
                    clickOther(other);
                    static_cast<QDialog &>(find).reject();
                },
                [&] { return prompter.find(FindRequest{}); });
            EXPECT_FALSE(answer);
            EXPECT_EQ(other.presses, presses) << "Find";
        }
    }
}

TEST(QtPrompter, ASaveDialogLeavesTheReplaceQuestionToItsCaller)
{
    const CaseApplication app;
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("Jobs.dat"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.folder = dir.path();
    request.fileName = QStringLiteral("Jobs.dat");
    int boxes = 0;
    const std::optional<QString> chosen = answerAs(
        [&](QWidget &shown) {
            if (auto *box = qobject_cast<QMessageBox *>(&shown)) {
                ++boxes;
                box->button(QMessageBox::Yes)->click();
            } else {
                QMetaObject::invokeMethod(&shown, "accept", Qt::QueuedConnection);
            }
        },
        [&] { return QtPrompter(true).fileName(request); });
    EXPECT_EQ(chosen, existing);
    EXPECT_EQ(boxes, 0);
}

TEST(QtPrompter, AnInputBoxIsWideEnoughForItsText)
{
    const CaseApplication app;
    const QString longName = QStringLiteral("Weekly backup of the photo archive and the family documents, 2026");
    int shownWidth = 0;
    int needed = 0;
    const std::optional<QString> answer = answerAs(
        [&](QWidget &shown) {
            if (auto *edit = shown.findChild<QLineEdit *>()) {
                shownWidth = edit->width();
                needed = edit->fontMetrics().horizontalAdvance(longName);
            }
            QMetaObject::invokeMethod(&shown, "accept", Qt::QueuedConnection);
        },
        [&] {
            return QtPrompter(true).input({QStringLiteral("Rename job"), QStringLiteral("Job:"), longName});
        });
    EXPECT_EQ(answer, longName);
    EXPECT_GT(needed, 0);
    EXPECT_GE(shownWidth, needed);
}

TEST(QtPrompter, WithoutAScreenAMessageGoesToStandardErrorAndClosesItself)
{
    const CaseApplication app;
    EXPECT_FALSE(BoxesCanBeSeen()); // the tests run offscreen

    MessageRequest request;
    request.title = QStringLiteral("The Zentavo scheduler of start");
    request.text = QStringLiteral("Programm already running!");
    request.buttons = PromptButton::Yes | PromptButton::No;
    QtPrompter prompter;
    testing::internal::CaptureStderr();
    EXPECT_EQ(prompter.message(request), PromptButton::None);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "The Zentavo scheduler of start: Programm already running!\n");
}
