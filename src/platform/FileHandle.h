#pragma once

#include <QtGlobal>

#include <cstdint>
#include <utility>

namespace platform {

// The system's handle of an open file, closed when it goes: a file
// descriptor, or a HANDLE on Windows. It takes what the opening call
// answers, its failure value included, and is moved, never copied.
class FileHandle {
public:
#ifdef Q_OS_WIN
    using Native = void *;
#else
    using Native = int;
#endif

    FileHandle() = default;
    explicit FileHandle(Native native) : m_native(native)
    {
    }
    ~FileHandle()
    {
        close();
    }
    FileHandle(FileHandle &&other) noexcept : m_native(std::exchange(other.m_native, Invalid))
    {
    }
    FileHandle &operator=(FileHandle &&other) noexcept
    {
        if (this != &other) {
            close();
            m_native = std::exchange(other.m_native, Invalid);
        }
        return *this;
    }

    bool isOpen() const
    {
        return m_native != Invalid;
    }
    Native native() const
    {
        return m_native;
    }
    void close();

private:
#ifdef Q_OS_WIN
    // INVALID_HANDLE_VALUE, what CreateFileW answers when it fails.
    static inline const Native Invalid = reinterpret_cast<Native>(static_cast<std::intptr_t>(-1));
#else
    static constexpr Native Invalid = -1;
#endif
    Native m_native = Invalid;
};

} // namespace platform
