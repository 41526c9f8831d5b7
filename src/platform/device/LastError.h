#pragma once
// The calling thread's last error code, with the handheld's error numbers, and its message text.

#include "platform/device/WideText.h"

#include <cstdint>

namespace device {

enum ErrorCode : std::uint32_t {
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_PATH_NOT_FOUND = 3,
    ERROR_ACCESS_DENIED = 5,
    ERROR_INVALID_HANDLE = 6,
    ERROR_NOT_ENOUGH_MEMORY = 8,
    ERROR_WRITE_FAULT = 29,
    ERROR_READ_FAULT = 30,
    ERROR_SHARING_VIOLATION = 32,
    ERROR_FILE_EXISTS = 80,
    ERROR_INVALID_PARAMETER = 87,
    ERROR_INSUFFICIENT_BUFFER = 122,
    ERROR_DISK_FULL = 112,
    ERROR_INVALID_NAME = 123,
    ERROR_DIR_NOT_EMPTY = 145,
    ERROR_ALREADY_EXISTS = 183,
    ERROR_MORE_DATA = 234,
    ERROR_NO_MORE_ITEMS = 259,
    ERROR_TIMEOUT = 1460,
};

void setLastError(std::uint32_t code);
std::uint32_t lastError();
// Sets the last error from a host errno value.
void setLastErrorFromErrno(int hostErrno);
// The system's text for an error code; empty when it has none.
WideString errorMessageText(std::uint32_t code);

} // namespace device
