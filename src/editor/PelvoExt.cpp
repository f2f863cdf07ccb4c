#include "PelvoExt.h"

#include <QtGlobal>

namespace pelvo {

namespace {

// The name part that KeyAt and TailAt split: a line whose name is empty is
// looked at whole.
QString kindAndTail(const TStringListMy &list, qsizetype index)
{
    const QString name = list.NameAt(index);
    return name.isEmpty() ? list.at(index) : name;
}

} // namespace

QString TStringListMy::NameAt(qsizetype index) const
{
    const QString &line = at(index);
    const qsizetype equals = line.lastIndexOf(u'=');
    return equals < 0 ? line : line.left(equals);
}

QString TStringListMy::ValueAt(qsizetype index) const
{
    const QString &line = at(index);
    const qsizetype equals = line.lastIndexOf(u'=');
    return equals < 0 ? QString() : line.mid(equals + 1);
}

QString TStringListMyExt::KeyAt(qsizetype index) const
{
    const QString name = kindAndTail(*this, index);
    const qsizetype mark = name.indexOf(u'>');
    return mark < 0 ? QString() : name.left(mark);
}

QString TStringListMyExt::TailAt(qsizetype index) const
{
    const QString name = NameAt(index);
    const qsizetype mark = name.indexOf(u'>');
    return mark < 0 ? name : name.mid(mark + 1);
}

QString TBlock::GetStr(int index) const
{
    Q_ASSERT(index == ArchiveName || index == Comment);
    return index == ArchiveName ? m_archiveName : m_comment;
}

void TBlock::SetStr(int index, const QString &value)
{
    Q_ASSERT(index == ArchiveName || index == Comment);
    (index == ArchiveName ? m_archiveName : m_comment) = value;
}

} // namespace pelvo
