#pragma once

#include <QStringList>

namespace samples {

// A job file that uses every part of a job: two jobs, a Cyrillic title,
// exclusions, daily copies on some days and every day, copies of all four
// periods (the second job with the older Cyrillic keys), and file commands
// and programs before and after archiving. Names are already in the form
// the main program's reader would make of them, so both readers keep them.
inline QStringList everythingJobFile()
{
    return {QStringLiteral("Zentavo job file"),
            QStringLiteral(">"),
            QStringLiteral("Ежедневно"),
            QStringLiteral("/arc/Daily.zip"),
            QStringLiteral("D=/data/"),
            QStringLiteral("D=/home/*.doc"),
            QStringLiteral("C=weekly set"),
            QStringLiteral("E=*.tmp|*.bak"),
            QStringLiteral("E="),
            QStringLiteral("/copy/monfri/=15"),
            QStringLiteral("/copy/daily/="),
            QStringLiteral("W=/copy/week/=0"),
            QStringLiteral("Y=/copy/year/=0"),
            QStringLiteral("M=/copy/month/=0"),
            QStringLiteral("Q=/copy/quarter/=0"),
            QStringLiteral("CMD2=CREN \"/x.txt\" TO \"/y.txt\"="),
            QStringLiteral("CMD1=CCPY \"/music/Back TO Black\" TO \"/copy/\"=06"),
            QStringLiteral("CMD1=CDEL \"/old/*.*\"="),
            QStringLiteral("CMD2=notepad /r.txt=3"),
            QStringLiteral(">"),
            QStringLiteral("Second"),
            QStringLiteral("/arc/Second.zip"),
            QStringLiteral("D=/etc/"),
            QStringLiteral("C="),
            QStringLiteral("E="),
            QStringLiteral("Н:/copy/week2/=1"),
            QStringLiteral("Г:/copy/year2/=1"),
            QStringLiteral("CMD1=backup-db --all=")};
}

// A job with nothing but its name, archive and source.
inline QStringList bareJobFile()
{
    return {QStringLiteral("Zentavo job file"),
            QStringLiteral(">"),
            QStringLiteral("Bare"),
            QStringLiteral("/arc/Bare.zip"),
            QStringLiteral("D=/bare/"),
            QStringLiteral("C="),
            QStringLiteral("E=")};
}

} // namespace samples
