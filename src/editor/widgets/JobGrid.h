#pragma once

#include <QStringList>

class QTableWidget;
class QWidget;

namespace pelvo {

// A grid of the job pages: whole rows selected one at a time, nothing
// edited in place, Tab going on to the next control while the arrow keys
// walk the rows, the last column filling the width.
QTableWidget *makeJobGrid(QWidget *parent, const char *name, const QStringList &headers);

} // namespace pelvo
