#include "platform/QuietQtNotices.h"

#include <QLoggingCategory>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

Q_LOGGING_CATEGORY(connectCategory, "qt.core.qobject.connect")
Q_LOGGING_CATEGORY(otherCategory, "qt.qpa.xcb")

QStringList &passedOn()
{
    static QStringList messages;
    return messages;
}

void recordMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    passedOn() << message;
}

} // namespace

TEST(QuietQtNoticesTest, DropsOnlyThePlatformNoticesAndPassesEveryOtherMessageOn)
{
    const char *sizeHints = "This plugin does not support propagateSizeHints()";
    const char *trySignal
        = "QObject::connect: No such signal QPlatformNativeInterface::systemTrayWindowChanged(QScreen*)";
    const char *otherSignal = "QObject::connect: No such signal TTrayForm::Gone()";

    qInstallMessageHandler(recordMessage);
    platform::quietQtNotices();
    qWarning("%s", sizeHints);
    qCWarning(connectCategory, "%s", trySignal);
    // The same words elsewhere are real warnings.
    qCWarning(otherCategory, "%s", trySignal);
    qCWarning(connectCategory, "%s", otherSignal);
    qCritical("%s", sizeHints);
    qWarning("%s", "QFile::open: no file name");
    qInstallMessageHandler(nullptr);

    EXPECT_EQ(passedOn(),
              (QStringList{QString::fromLatin1(trySignal), QString::fromLatin1(otherSignal),
                           QString::fromLatin1(sizeHints), QStringLiteral("QFile::open: no file name")}));
}
