#include "ZAExcept.h"

namespace {

QString composeMessage(zaconst::NativeError nativeError, const QString &senderName, const QStringList &args)
{
    QString text = zaconst::messageOf(zaconst::publicCodeOf(nativeError));
    for (const QString &arg : args)
        text = text.arg(arg);
    if (!senderName.isEmpty())
        text = senderName + QStringLiteral(": ") + text;
    return text + QStringLiteral(" - Native error: ")
        + QStringLiteral("%1").arg(int(nativeError), 5, 10, QLatin1Char('0'));
}

} // namespace

EZAException::EZAException(zaconst::NativeError nativeError, const QString &senderName, const QStringList &args)
    : std::runtime_error(composeMessage(nativeError, senderName, args).toStdString())
    , m_nativeError(nativeError)
    , m_errorCode(zaconst::publicCodeOf(nativeError))
    , m_message(QString::fromStdString(what()))
{
}
