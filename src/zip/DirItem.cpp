#include "DirItem.h"

#include "zip/ZARecords.h"

bool TDirItem::isFolder() const
{
    return (ExternalAttributes & zarecords::AttrFolder) != 0 || FileName.endsWith(u'/');
}
