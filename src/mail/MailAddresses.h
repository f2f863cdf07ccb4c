#pragma once

#include <QList>
#include <QString>

// Address fields: "Name" <address>, address (Name), bare addresses, separated
// by "," or ";"; bare addresses also by blanks.
namespace smtpmail {

struct TAddress {
    QString name;
    QString address;
    bool operator==(const TAddress &) const = default;
};

// Every entry of an address field value; names are decoded from encoded words.
QList<TAddress> ParseAddressList(const QString &value);

// One entry as written in a header: a plain name in double quotes, a name that
// needs encoding as encoded words (never quoted), then the address in angle
// brackets. lead: the characters before the entry on its header line.
QString FormatAddress(const TAddress &entry, const QString &charset, qsizetype lead = 0);

// An address with a line break would let its text become a command or a header line.
bool IsSafeAddress(const QString &address);

} // namespace smtpmail
