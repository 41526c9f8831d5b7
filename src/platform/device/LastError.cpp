#include "platform/device/LastError.h"

#include <cerrno>

namespace device {

namespace {
thread_local std::uint32_t t_lastError = ERROR_SUCCESS;
}

void setLastError(std::uint32_t code) { t_lastError = code; }

std::uint32_t lastError() { return t_lastError; }

void setLastErrorFromErrno(int hostErrno)
{
    switch (hostErrno) {
    case 0:
        setLastError(ERROR_SUCCESS);
        break;
    case ENOENT:
        setLastError(ERROR_FILE_NOT_FOUND);
        break;
    case ENOTDIR:
        setLastError(ERROR_PATH_NOT_FOUND);
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        setLastError(ERROR_ACCESS_DENIED);
        break;
    case EEXIST:
        setLastError(ERROR_ALREADY_EXISTS);
        break;
    case ENOSPC:
        setLastError(ERROR_DISK_FULL);
        break;
    case ENOMEM:
        setLastError(ERROR_NOT_ENOUGH_MEMORY);
        break;
    case ENOTEMPTY:
        setLastError(ERROR_DIR_NOT_EMPTY);
        break;
    case EBUSY:
    case ETXTBSY:
        setLastError(ERROR_SHARING_VIOLATION);
        break;
    case ENAMETOOLONG:
    case EILSEQ:
        setLastError(ERROR_INVALID_NAME);
        break;
    case EBADF:
        setLastError(ERROR_INVALID_HANDLE);
        break;
    case EINVAL:
        setLastError(ERROR_INVALID_PARAMETER);
        break;
    case ETIMEDOUT:
        setLastError(ERROR_TIMEOUT);
        break;
    default:
        setLastError(ERROR_WRITE_FAULT);
        break;
    }
}

WideString errorMessageText(std::uint32_t code)
{
    switch (code) {
    case ERROR_SUCCESS:
        return u"The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND:
        return u"The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND:
        return u"The system cannot find the path specified.";
    case ERROR_ACCESS_DENIED:
        return u"Access is denied.";
    case ERROR_INVALID_HANDLE:
        return u"The handle is invalid.";
    case ERROR_NOT_ENOUGH_MEMORY:
        return u"Not enough storage is available to process this command.";
    case ERROR_WRITE_FAULT:
        return u"The system cannot write to the specified device.";
    case ERROR_READ_FAULT:
        return u"The system cannot read from the specified device.";
    case ERROR_SHARING_VIOLATION:
        return u"The process cannot access the file because it is being used by another process.";
    case ERROR_FILE_EXISTS:
        return u"The file exists.";
    case ERROR_INVALID_PARAMETER:
        return u"The parameter is incorrect.";
    case ERROR_INSUFFICIENT_BUFFER:
        return u"The data area passed to a system call is too small.";
    case ERROR_DISK_FULL:
        return u"There is not enough space on the disk.";
    case ERROR_INVALID_NAME:
        return u"The filename, directory name, or volume label syntax is incorrect.";
    case ERROR_DIR_NOT_EMPTY:
        return u"The directory is not empty.";
    case ERROR_ALREADY_EXISTS:
        return u"Cannot create a file when that file already exists.";
    case ERROR_MORE_DATA:
        return u"More data is available.";
    case ERROR_NO_MORE_ITEMS:
        return u"No more data is available.";
    case ERROR_TIMEOUT:
        return u"This operation returned because the timeout period expired.";
    default:
        return {};
    }
}

} // namespace device
