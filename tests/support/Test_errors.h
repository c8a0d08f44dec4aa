#pragma once
// The number of the error that `body` raises; 0 when it raises none.
#include "platform/vb/VbError.h"

#include <cstdint>

template <class Body>
int32_t Error_Of(Body&& body) {
    try {
        body();
    } catch (const VbError& e) {
        return e.Number();
    }
    return 0;
}
