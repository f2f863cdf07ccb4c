#pragma once

#include "platform/widgets/WebPage.h"

#include <QList>
#include <QUrl>

// Stands for the desktop's browser while it lives: keeps the addresses
// handed to it and takes them unless told otherwise.
class RecordingBrowser {
public:
    RecordingBrowser()
    {
        platform::setUrlOpener([this](const QUrl &address) {
            opened << address;
            return takes;
        });
    }
    ~RecordingBrowser() { platform::setUrlOpener({}); }
    RecordingBrowser(const RecordingBrowser &) = delete;
    RecordingBrowser &operator=(const RecordingBrowser &) = delete;

    QList<QUrl> opened;
    bool takes = true;
};
