#pragma once

#include <QStringList>

// A string list whose lines are name=value pairs split at their first "=".
// The two programs differ in one case only: the main program takes the whole
// line as the name when the text before "=" is empty; the editor keeps an
// empty name for a line that starts with "=".
enum class EmptyName { WholeLine, Empty };

template <EmptyName Rule>
class NameValueList : public QStringList {
public:
    using QStringList::QStringList;
    NameValueList() = default;
    explicit NameValueList(const QStringList &lines)
        : QStringList(lines)
    {
    }

    QString NameAt(qsizetype index) const
    {
        const QString &line = at(index);
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            return line;
        if (equals == 0 && Rule == EmptyName::WholeLine)
            return line;
        return line.left(equals);
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
