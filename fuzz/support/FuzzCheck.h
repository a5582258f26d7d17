#pragma once

// A property the code under fuzzing must keep. A failure prints where and
// aborts, which libFuzzer reports as a finding with the input that caused it.
#define FUZZ_CHECK(condition) \
    ((condition) ? void(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))

[[noreturn]] void FuzzCheckFailed(const char* condition, const char* file, int line);
