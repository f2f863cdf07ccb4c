#include "ZAZlib.h"

int CheckZlibResult(int result)
{
    if (result < 0)
        throw ECompressionError();
    return result;
}
