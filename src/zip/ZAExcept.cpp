#include "ZAExcept.h"

#include "ZAConst.h"

namespace {

QString composeMessage(int nativeError, const QString &senderName, const QStringList &args)
{
    QString text = zaconst::messageOf(zaconst::publicCodeOf(nativeError));
    for (const QString &arg : args)
        text = text.arg(arg);
    if (!senderName.isEmpty())
        text = senderName + QStringLiteral(": ") + text;
    return text + QStringLiteral(" - Native error: ")
           + QStringLiteral("%1").arg(nativeError, 5, 10, QLatin1Char('0'));
}

} // namespace

EZAException::EZAException(int nativeError, const QString &senderName, const QStringList &args)
    : std::runtime_error(composeMessage(nativeError, senderName, args).toStdString()),
      m_nativeError(nativeError),
      m_errorCode(zaconst::publicCodeOf(nativeError)),
      m_message(QString::fromStdString(what()))
{
}
