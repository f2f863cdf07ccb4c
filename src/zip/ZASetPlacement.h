#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// How a set of volumes made anew takes the place of the old set. The moves
// of its volumes are many steps, so the plan is first written beside the
// archive: a writer killed among them leaves it for the next writer, which
// finishes the change instead of removing the only whole set there is.
namespace zaplacement {

struct Plan {
    // The old set's last volume: it goes first, so that no mix of old and
    // new volumes ever looks like a whole set.
    QString oldLast;
    // From the new set's name to the archive's, in order; the last move
    // completes the new set (its last volume, or the ".exe" of a
    // self-extracting set of one volume).
    QList<std::pair<QString, QString>> moves;
    // Volumes of an older, longer set that would only mislead.
    QStringList stale;
};

// The plan's name for an archive.
QString NameFor(const QString &archive);

// Writes the plan in full and on the disk, carries it out and removes it.
// Raises neCannotCreateFile when a step fails; the plan then stays for the
// next open.
void Carry(const QString &archive, const Plan &plan);

// Finishes the plan a killed writer of the archive left; nothing when
// there is none. Raises as Carry.
void Recover(const QString &archive);

} // namespace zaplacement
