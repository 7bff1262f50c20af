// The messages of I/O errors by Windows error code: the table, two codes outside it, and 0.
// Shared by the unit test of the texts and the launch-step test that raises them.
#pragma once

namespace quenlo::test {

struct IoErrorCase {
    int code;
    const char* message;
};

inline constexpr IoErrorCase kIoErrorCases[] = {
    {2, "File not found"},
    {3, "Invalid filename"},
    {4, "Too many open files"},
    {5, "File access denied"},
    {100, "Read beyond end of file"},
    {101, "Disk full"},
    {106, "Invalid numeric input"},
    {21, "I/O error 21"},
    {1223, "I/O error 1223"},
    {0, "I/O error 0"},
};

}  // namespace quenlo::test
