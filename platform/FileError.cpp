#include "platform/FileIo.h"
#include "platform/SystemError.h"

namespace pelagor::platform {

std::string Describe(const FileError& error) {
    switch (error.kind) {
        case FileErrorKind::None:
            return "no error";
        case FileErrorKind::NotFound:
            return "no such file or folder";
        case FileErrorKind::AccessDenied:
            return "permission denied";
        case FileErrorKind::InUse:
            return "the file is locked by another program";
        case FileErrorKind::NotRegular:
            return "not a regular file";
        case FileErrorKind::Empty:
            return "the file is empty";
        case FileErrorKind::TooLarge:
            return "the file is 4 GiB or larger";
        case FileErrorKind::OutOfMemory:
            return "out of memory";
        case FileErrorKind::Exists:
            return "the file exists";
        case FileErrorKind::Refused:
            return "not a file of a kind this program reads";
        case FileErrorKind::Abandoned:
            return "the write was abandoned";
        case FileErrorKind::ReadFailed:
        case FileErrorKind::WriteFailed:
        case FileErrorKind::Other:
            break;
    }
    std::string text = error.kind == FileErrorKind::ReadFailed    ? "read error"
                       : error.kind == FileErrorKind::WriteFailed ? "write error"
                                                                  : "error";
    if (error.systemCode != 0) {
        text += ": ";
        text += SystemErrorText(error.systemCode);
    }
    return text;
}

}  // namespace pelagor::platform
