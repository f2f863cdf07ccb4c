#include "FileHandle.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace platform {

void FileHandle::close()
{
    if (!isOpen())
        return;
#ifdef Q_OS_WIN
    CloseHandle(m_native);
#else
    ::close(m_native);
#endif
    m_native = Invalid;
}

} // namespace platform
