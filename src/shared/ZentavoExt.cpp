#include "ZentavoExt.h"

#include <QtGlobal>

namespace zentavo {

TBlocks Blocks;
int BlockIndex = 0;
QString JobFileName;
QString ReportFileName = QStringLiteral("Report.txt");
QDateTime RunTime;

QString TBlock::GetStr(int index) const
{
    Q_ASSERT(index >= ArchiveName && index <= Title);
    return m_str.at(index - 1);
}

void TBlock::SetStr(int index, const QString &value)
{
    Q_ASSERT(index >= ArchiveName && index <= Title);
    m_str.at(index - 1) = value;
}

quint8 TBlock::GetFlag(int index) const
{
    Q_ASSERT(index >= Enabled && index <= Status);
    return m_flag.at(index - 1);
}

void TBlock::SetFlag(int index, quint8 value)
{
    Q_ASSERT(index >= Enabled && index <= Status);
    m_flag.at(index - 1) = value;
}

} // namespace zentavo
