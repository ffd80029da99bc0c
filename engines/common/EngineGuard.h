#pragma once

// An exception that leaves an export ends the host: the toolchain's unwinding
// cannot pass the host's frames, so std::terminate is called. Every export of
// an engine runs its body through this; whatever is thrown (memory running out
// while a table loads, say) becomes the export's answer for failure.
template <typename Result, typename Body> Result Guarded(Result failure, Body body)
{
    try {
        return body();
    } catch (...) {
        return failure;
    }
}
