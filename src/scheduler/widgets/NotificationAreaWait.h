#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>

namespace zentavo {

// At login the desktop may start the scheduler before its panel: the
// notification area is given a short while to appear before the user is
// told that there is none, and nothing is told when it appears in time.
class NotificationAreaWait final : public QObject {
public:
    static constexpr int GraceSeconds = 10;

    // available tells whether a notification area is there now; tellMissing
    // says that there is none.
    NotificationAreaWait(std::function<bool()> available, std::function<void()> tellMissing, QObject *parent = nullptr);

    // Starts waiting; with the area there already nothing happens.
    void Start();
    // Looks again (the timer does so every second): ends the wait quietly
    // once the area is there, or tells once when the time is up.
    void Check();
    bool Waiting() const { return m_timer.isActive(); }

private:
    std::function<bool()> m_available;
    std::function<void()> m_tellMissing;
    QDateTime m_since;
    QTimer m_timer;
};

} // namespace zentavo
