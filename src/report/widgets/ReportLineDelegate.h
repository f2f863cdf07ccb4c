#pragma once

#include "report/ReportLineClass.h"

#include <QPixmap>
#include <QStyledItemDelegate>

#include <map>

// Draws report lines as the report viewer and the main window's report list
// show them: run boundaries as shaded header rows, job lines in bold, odd
// rows banded, and an icon for each kind of line.
class ReportLineDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int IconSize = 16;

    explicit ReportLineDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // Every row is one line high, whatever it holds.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The picture of a line icon; null for LineIcon::None.
    QPixmap iconPixmap(report::LineIcon icon) const;

private:
    void paintHeaderRow(QPainter &painter, const QStyleOptionViewItem &option, const QString &line) const;
    void paintNormalRow(QPainter &painter, const QStyleOptionViewItem &option, const QModelIndex &index,
                        const QString &line, bool bold) const;
    void paintIcon(QPainter &painter, const QStyleOptionViewItem &option, const QString &line) const;

    std::map<report::LineIcon, QPixmap> m_icons;
};
