#pragma once

#include <QByteArray>

#include <zlib.h>

#include <functional>
#include <stdexcept>

class EZlibError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class ECompressionError : public EZlibError
{
public:
    ECompressionError() : EZlibError("error") {}
};

// A negative zlib result raises ECompressionError; others pass through.
int CheckZlibResult(int result);

// A raw deflate stream (no zlib header or trailer, as ZIP method 8 wants),
// made once and reset for each entry, so that many small files do not pay
// for building the compressor's tables again and again.
class TZADeflater
{
public:
    TZADeflater();
    ~TZADeflater();
    TZADeflater(const TZADeflater &) = delete;
    TZADeflater &operator=(const TZADeflater &) = delete;

    // Starts a new entry at the given level (1-9).
    void Begin(int level);
    // Compresses input; with finish the stream is ended. Every piece of
    // output is handed to sink as it is made, so memory stays bounded.
    void Compress(const char *data, qsizetype size, bool finish,
                  const std::function<void(const char *, qsizetype)> &sink);

private:
    z_stream m_stream{};
    int m_level = Z_DEFAULT_COMPRESSION;
    QByteArray m_output;
};
