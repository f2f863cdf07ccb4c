#include "HelpPopup.h"

#include "platform/widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace help {

HelpPopup::HelpPopup(QWidget *parent) : QFrame(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("HelpPopup"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("PopupText"));
    m_label->setWordWrap(true);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setForegroundRole(QPalette::ToolTipText);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(m_label);
}

void HelpPopup::showText(const QString &text, const QPoint &screenPosition)
{
    m_label->setText(text);
    // Short texts on one line, longer ones wrapped at a readable width.
    m_label->setFixedWidth(std::min(360, m_label->fontMetrics().horizontalAdvance(text) + 4));
    adjustSize();
    // Kept on the screen of the point.
    QRect area(screenPosition, size());
    if (const QScreen *screen = QGuiApplication::screenAt(screenPosition))
        area = platform::KeptWithin(area, screen->availableGeometry());
    move(area.topLeft());
    show();
    raise();
}

QString HelpPopup::text() const
{
    return m_label->text();
}

void HelpPopup::keyPressEvent(QKeyEvent *)
{
    close();
}

void HelpPopup::mousePressEvent(QMouseEvent *)
{
    close();
}

} // namespace help
