#pragma once

#include <QFrame>

class QLabel;

namespace help {

// A text popup of the help file near a point; it closes on the next click
// (inside or outside) or key.
class HelpPopup final : public QFrame {
    Q_OBJECT
public:
    explicit HelpPopup(QWidget *parent = nullptr);

    void showText(const QString &text, const QPoint &screenPosition);
    QString text() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QLabel *m_label = nullptr;
};

} // namespace help
