#include "ReportLineDelegate.h"

#include "shared/widgets/GradientFill.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {

const QColor HeaderTop(0xF6, 0xF6, 0xFD);
const QColor HeaderBottom(0xC9, 0xC9, 0xD9);
const QColor HeaderFrame(0x7C, 0x7C, 0x94);
const QColor HeaderText(0xA0, 0xA0, 0xA4);
const QColor BandColour(238, 242, 253);

QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

} // namespace

ReportLineDelegate::ReportLineDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
    using report::LineIcon;
    QStyle *style = QApplication::style();
    const std::pair<LineIcon, QStyle::StandardPixmap> pictures[] = {
        {LineIcon::Job, QStyle::SP_FileIcon},
        {LineIcon::Other, QStyle::SP_MessageBoxInformation},
        {LineIcon::Ok, QStyle::SP_DialogApplyButton},
        {LineIcon::Error, QStyle::SP_MessageBoxCritical},
    };
    for (const auto &[icon, picture] : pictures)
        m_icons[icon] = style->standardIcon(picture).pixmap(IconSize, IconSize);
}

QPixmap ReportLineDelegate::iconPixmap(report::LineIcon icon) const
{
    const auto found = m_icons.find(icon);
    return found == m_icons.end() ? QPixmap() : found->second;
}

QSize ReportLineDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width(), option.fontMetrics.height() + 4};
}

void ReportLineDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    const QString line = index.data(Qt::DisplayRole).toString();
    painter->save();
    painter->setClipRect(option.rect);
    switch (report::RowKindOf(line)) {
    case report::RowKind::Header: paintHeaderRow(*painter, option, line); break;
    case report::RowKind::Job: paintNormalRow(*painter, option, index, line, true); break;
    case report::RowKind::Other: paintNormalRow(*painter, option, index, line, false); break;
    }
    paintIcon(*painter, option, line);
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = option.palette.color(QPalette::Highlight);
        styleOf(option)->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
    painter->restore();
}

void ReportLineDelegate::paintHeaderRow(QPainter &painter, const QStyleOptionViewItem &option,
                                        const QString &line) const
{
    const QRect &row = option.rect;
    if (option.state.testFlag(QStyle::State_HasFocus))
        painter.fillRect(row, option.palette.color(QPalette::Highlight));
    else
        zentavo::GradientFill(painter, row, false, {HeaderTop, HeaderBottom});
    painter.setPen(HeaderFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(row.adjusted(0, 0, -1, -1));

    QFont font = option.font;
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(HeaderText);
    painter.drawText(row, Qt::AlignCenter | Qt::TextSingleLine, line);
}

void ReportLineDelegate::paintNormalRow(QPainter &painter, const QStyleOptionViewItem &option, const QModelIndex &index,
                                        const QString &line, bool bold) const
{
    const QRect &row = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group
        = option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    painter.fillRect(row, option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base));
    if (report::IsBandedRow(index.row(), selected))
        painter.fillRect(row.adjusted(IconSize, 0, 0, 0), BandColour);

    QFont font = option.font;
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect textArea = row.adjusted(IconSize + 3, 3, 0, 0);
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
}

void ReportLineDelegate::paintIcon(QPainter &painter, const QStyleOptionViewItem &option, const QString &line) const
{
    const QPixmap picture = iconPixmap(report::LineIconOf(line));
    if (picture.isNull())
        return;
    const QRect square(option.rect.topLeft(), QSize(IconSize, IconSize));
    painter.fillRect(square, option.palette.color(QPalette::Base));
    painter.drawPixmap(square, picture);
}
