#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace smtpmail {

class TMailMessage;
class TSmtpClient;

// The mail settings as the settings dialog holds them at the moment of sending.
struct TMailSettings {
    QString EditHost;
    QString EditPort;
    QString EditEMail; // the recipient
    QString EditSubject;
    QString EditFrom; // the sender's address
    bool CheckBoxHelo = false;
    bool CheckBoxAuth = false;
    QString EditUserName;
    QString EditPassword;
};

// Fills the message with one recipient, the subject, the sender and a plain
// text, and hands it to the client with the host. The port is the caller's
// to check and set. An address the message refuses (one with a line break,
// a sender text with several addresses) leaves its field empty, and its
// reason is the result: that mail must not be sent.
std::optional<QString> PrepareMail(TSmtpClient &smtp, TMailMessage &message, const TMailSettings &settings,
                                   const QString &subject, const QString &senderName, const QString &text);

// The steps of one mail's dialogue, in their order.
enum class TSmtpStep { Connect, Greet, Login, Send, Quit };

// What follows a refused message: the report mail says goodbye politely, the
// test mail drops the connection at once, which also ends a late reply.
enum class TAfterRefusedSend { Quit, Abort };

// The fixed status of a mail by its failed step: "Failed on connect" (also
// for a greeting that failed), "Failed on send", "Failed on disconnect", and
// "Report sent" for none.
QString SessionStatus(std::optional<TSmtpStep> failed);

// Told after each step whether it succeeded; the client's LastReply holds
// the server's answer.
using TStepEvent = std::function<void(TSmtpStep step, bool succeeded)>;

// Connects, greets (EHLO, else HELO) when asked, logs in when asked, sends
// the client's message and quits. A failed connect, greeting or quit aborts
// the session, so the client is always free for the next mail. The result is
// the first step that failed (Connect, Greet, Send or Quit), or nothing when
// the message was sent and the session closed.
std::optional<TSmtpStep> RunSmtpSession(TSmtpClient &smtp, const TMailSettings &settings,
                                        TAfterRefusedSend afterRefusedSend, const TStepEvent &stepDone);

} // namespace smtpmail
