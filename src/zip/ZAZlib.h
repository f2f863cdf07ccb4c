#pragma once

#include <zlib.h>

#include <stdexcept>

class EZlibError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ECompressionError : public EZlibError {
public:
    ECompressionError() : EZlibError("error") {}
};

// A negative zlib result raises ECompressionError; others pass through.
int CheckZlibResult(int result);
