#pragma once

#include <QString>

#include <functional>
#include <optional>

// Lets through only the archiving progress a person can see: a percent that
// differs from the one shown, and a file label at most ten times a second.
// Every update passed on costs the window a wake-up and a layout, which on
// many small files cost more than the archiving itself.
class ProgressGate {
public:
    using Clock = std::function<qint64()>; // milliseconds, never going back
    static constexpr qint64 LabelIntervalMs = 100;

    explicit ProgressGate(Clock clock = {});

    // A new archive: the next label and percents show at once.
    void Reset();
    // True when the rounded percent differs from the one shown (which it
    // then becomes).
    bool FilePercent(int percent) { return changed(m_filePercent, percent); }
    bool OverallPercent(int percent) { return changed(m_overallPercent, percent); }
    // The newest label offered; DueLabel gives it once the last label shown
    // is old enough, so a long file still gets its name shown.
    void OfferLabel(const QString &text) { m_offered = text; }
    std::optional<QString> DueLabel();

private:
    static bool changed(int &shown, int percent);

    Clock m_clock;
    int m_filePercent = -1;
    int m_overallPercent = -1;
    QString m_offered;
    std::optional<QString> m_shown;
    qint64 m_shownAt = 0;
};
