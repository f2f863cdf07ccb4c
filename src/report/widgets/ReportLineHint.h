#pragma once

#include <QObject>

class QAbstractItemView;

// Shows a report line that is wider than its row as a hint laid over the
// row, so the whole line can be read without scrolling sideways.
class ReportLineHint final : public QObject {
    Q_OBJECT
public:
    static constexpr int ShowMilliseconds = 5000;

    // Watches the list's hint requests; the list owns the watcher.
    static void install(QAbstractItemView *list);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ReportLineHint(QAbstractItemView *list);

    QAbstractItemView *m_list;
};
