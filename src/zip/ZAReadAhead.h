#pragma once

#include <QByteArray>
#include <QIODevice>

// Reads a device through a window of its bytes: many small reads that move
// forward through it (the headers of kept entries, one after another) cost
// one system call per window instead of a seek and a read each.
class TZAReadAhead : public QIODevice {
public:
    explicit TZAReadAhead(QIODevice &below);

    qint64 size() const override { return m_below.size(); }
    bool isSequential() const override { return false; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    static constexpr qint64 WindowSize = qint64(256) * 1024;

    QIODevice &m_below;
    QByteArray m_window;
    qint64 m_start = 0;
};
