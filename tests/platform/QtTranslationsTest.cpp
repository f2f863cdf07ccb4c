#include "platform/widgets/QtTranslations.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "WidgetTest.h"

#include <gtest/gtest.h>

class QtTranslationsTest : public WidgetTest {};

TEST_F(QtTranslationsTest, StandardButtonsFollowTheLocale)
{
    ASSERT_TRUE(platform::installQtTranslations(QLocale(QLocale::Russian, QLocale::Russia)))
        << "Qt's translations are not installed";
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Да"));
}

TEST_F(QtTranslationsTest, LocaleWithoutTranslationKeepsEnglish)
{
    EXPECT_FALSE(platform::installQtTranslations(QLocale(QLocale::Zulu, QLocale::SouthAfrica)));
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"), QMessageBox::Yes);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Yes"));
}
