#pragma once

#include "help/BuiltInContextMap.h"
#include "help/MapFile.h"

#include <QList>
#include <QObject>

#include <gtest/gtest.h>

#include <algorithm>

// A name of the map file that names no control gives that control only its
// window's help: every "window_control" name of the given windows must be a
// control of that window, with the built-in data giving its context. Names
// of other windows are left out. Returns how many names were checked.
inline int CheckMapNamesOf(const QList<const QObject *> &windows)
{
    int checked = 0;
    for (const help::MapEntry &entry : help::ParseMapFile(QStringLiteral(HELP_MAP_FILE))) {
        const QString window = entry.name.section(u'_', 0, 0);
        const QString control = entry.name.section(u'_', 1);
        const auto found
            = std::find_if(windows.begin(), windows.end(), [&](const QObject *w) { return w->objectName() == window; });
        if (found == windows.end() || control.isEmpty())
            continue;
        EXPECT_NE((*found)->findChild<QObject *>(control), nullptr) << entry.name.toStdString();
        EXPECT_EQ(help::FormsContextMap().FindContext(entry.name), entry.context) << entry.name.toStdString();
        ++checked;
    }
    return checked;
}
