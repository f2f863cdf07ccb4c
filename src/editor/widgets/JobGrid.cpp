#include "JobGrid.h"

#include "shared/widgets/FormBuilders.h"

#include <QHeaderView>
#include <QTableWidget>

namespace pelvo {

QTableWidget *makeJobGrid(QWidget *parent, const char *name, const QStringList &headers)
{
    QTableWidget *grid = zentavo::forms::named(new QTableWidget(0, int(headers.size()), parent), name);
    grid->setHorizontalHeaderLabels(headers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

} // namespace pelvo
