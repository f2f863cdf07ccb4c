#pragma once

#include <QString>
#include <QStringList>

class QPrinter;

// Prints a report as text: the header in bold (its lines separated by line
// feeds), two empty lines, then every line, a job's failure and a missing
// source in bold. Lines wider than the page wrap, so nothing is cut off.
// False when the printer could not be opened or a page not started.
bool PrintReport(QPrinter &printer, const QString &header, const QStringList &lines);
