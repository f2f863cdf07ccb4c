#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <system_error>

// A temporary folder for files whose names are no UTF-8 (code page 1251
// bytes, as disks from Windows bring them). Qt removes a folder by names it
// decodes as UTF-8 and so leaves such files, and their folder, behind; this
// one removes its tree byte for byte first.
class AnyNamesTemporaryDir : public QTemporaryDir {
public:
    ~AnyNamesTemporaryDir()
    {
        if (!isValid())
            return;
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(path()).toStdString(), ignored);
    }
};
