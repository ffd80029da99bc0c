#pragma once

#include <windows.h>

// Runs a function so that a structured exception it raises and does not
// handle itself (an access violation, a division by zero, a stack overflow, an
// illegal instruction...), or a call of abort in it (what a C++ exception that
// nothing catches comes to), ends the function, not the process. The function's
// frames are abandoned without their destructors: it is meant for calls into
// code we do not own, whose state is not to be trusted afterwards.
class CFaultGuard {
public:
    typedef void (*Function)(void* context);

    // The code of a call that ended in abort: that of a C++ exception, which
    // is what most often gets there.
    static const DWORD kAbortedCode = 0xE06D7363;

    // 0 when the function returned, otherwise the code of the exception that ended it.
    static DWORD Run(Function function, void* context);

    template <typename F> static DWORD Run(F& function)
    {
        return Run([](void* context) { (*static_cast<F*>(context))(); }, &function);
    }
};
