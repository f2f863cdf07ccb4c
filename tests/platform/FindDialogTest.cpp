#include "platform/widgets/FindDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "WidgetTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class FindDialogTest : public WidgetTest {
protected:
};

QRadioButton *radio(const QWidget &dialog, bool down)
{
    for (QRadioButton *button : dialog.findChildren<QRadioButton *>()) {
        if (button->text().contains(down ? QStringLiteral("Down") : QStringLiteral("Up")))
            return button;
    }
    return nullptr;
}

} // namespace

TEST_F(FindDialogTest, StartsFromTheRequestAndAnswersTheChoices)
{
    platform::FindDialog dialog({QStringLiteral("Find"), QStringLiteral("abc"), false, true});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Find"));
    platform::FindRequest answer = dialog.answer();
    EXPECT_EQ(answer.text, QStringLiteral("abc"));
    EXPECT_FALSE(answer.down);
    EXPECT_TRUE(answer.matchCase);

    dialog.findChild<QLineEdit *>()->setText(QStringLiteral("xyz"));
    dialog.findChild<QCheckBox *>()->setChecked(false);
    ASSERT_NE(radio(dialog, true), nullptr);
    radio(dialog, true)->setChecked(true);
    answer = dialog.answer();
    EXPECT_EQ(answer.text, QStringLiteral("xyz"));
    EXPECT_TRUE(answer.down);
    EXPECT_FALSE(answer.matchCase);
}

TEST_F(FindDialogTest, FindNextNeedsAText)
{
    platform::FindDialog dialog({});
    QPushButton *findNext = nullptr;
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        if (button->text().contains(QStringLiteral("Find")))
            findNext = button;
    }
    ASSERT_NE(findNext, nullptr);
    EXPECT_FALSE(findNext->isEnabled());
    dialog.findChild<QLineEdit *>()->setText(QStringLiteral("a"));
    EXPECT_TRUE(findNext->isEnabled());
}
