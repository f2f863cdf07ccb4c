#pragma once

#include <QStringList>

// A string list whose lines are name=value pairs split at their first "=".
// The two programs differ in one case only: the main program takes the whole
// line as the name when the text before "=" is empty; the editor keeps an
// empty name for a line that starts with "=".
enum class EmptyName { WholeLine, Empty };

// The text before the first "=" of a line; the whole line when it has none.
inline QString namePart(const QString &line)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals < 0 ? line : line.left(equals);
}

template <EmptyName Rule>
class NameValueList : public QStringList {
public:
    using QStringList::QStringList;
    NameValueList() = default;
    explicit NameValueList(const QStringList &lines) : QStringList(lines) {}

    QString NameAt(qsizetype index) const
    {
        const QString name = namePart(at(index));
        return name.isEmpty() && Rule == EmptyName::WholeLine ? at(index) : name;
    }

    QString ValueAt(qsizetype index) const
    {
        const QString &line = at(index);
        const qsizetype equals = line.indexOf(u'=');
        return equals < 0 ? QString() : line.mid(equals + 1);
    }
};

// The main program's list.
using TStringListMy = NameValueList<EmptyName::WholeLine>;
