#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <chrono>
#include <thread>

// Puts the steps of two processes in order: one leaves a mark (a file in
// a folder both see), the other waits for it, never longer than the limit.
class StepMarks {
public:
    explicit StepMarks(const QString &folder) : m_folder(folder) {}

    void mark(const QString &name) const
    {
        QFile file(fileOf(name));
        file.open(QIODevice::WriteOnly);
    }

    // False when the mark did not come within the limit.
    bool waitFor(const QString &name, std::chrono::milliseconds limit = std::chrono::seconds(30)) const
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!QFile::exists(fileOf(name))) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

private:
    QString fileOf(const QString &name) const { return QDir(m_folder).filePath(name + QStringLiteral(".mark")); }

    QString m_folder;
};
