// Records the call stack at every C++ throw, so that the report of an error that no code caught can
// show where a library exception (std::out_of_range from .at(), say) came from. Our own errors
// capture their stack themselves.
//
// This file includes no standard header that declares the runtime's throw function, so that the
// definition below is the only one the compiler sees.

#include <dlfcn.h>

namespace std {
class type_info;
}

namespace ErrorStacks {
void recordThrowStack() noexcept;
}

namespace {
using ThrowFunction = void (*)(void*, std::type_info*, void (*)(void*));
}

extern "C" [[noreturn]] void __cxa_throw(void* object, std::type_info* type, void (*destructor)(void*)) {
    static const ThrowFunction realThrow = reinterpret_cast<ThrowFunction>(dlsym(RTLD_NEXT, "__cxa_throw"));
    ErrorStacks::recordThrowStack();
    realThrow(object, type, destructor);
    __builtin_unreachable();
}
