#pragma once

#include "zip/ZAConst.h"

#include <QString>
#include <QStringList>

#include <stdexcept>

// A failure of the archive component: the message a user reads, the public
// code callers test and the native code that tells where it arose.
class EZAException : public std::runtime_error {
public:
    // senderName: the archiver's component name, put in front of the text
    // when not empty; args fill the text's placeholders in order.
    explicit EZAException(zaconst::NativeError nativeError, const QString &senderName = {},
                          const QStringList &args = {});

    const QString &Message() const { return m_message; }
    zaconst::ErrorCode ErrorCode() const { return m_errorCode; }
    zaconst::NativeError NativeError() const { return m_nativeError; }

private:
    zaconst::NativeError m_nativeError;
    zaconst::ErrorCode m_errorCode;
    QString m_message;
};
