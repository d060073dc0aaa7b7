#include "containers/errors.h"

namespace kindrel {

EFileError::EFileError(const std::string& fileName)
    : KindrelError("Error using the file " + fileName +
                   "\r\nPlease check that this file is not being used by another application."),
      m_fileName(fileName) {}

EFileError::EFileError(const std::string& fileName, const std::string& message)
    : KindrelError(message), m_fileName(fileName) {}

ENotRegularFile::ENotRegularFile(const std::string& fileName, const std::string& kind)
    : EFileError(fileName,
                 "Cannot read \"" + fileName + "\": it is " + kind + ", not a regular file."),
      m_kind(kind) {}

EFileTooLarge::EFileTooLarge(const std::string& fileName, long long bytes)
    : EFileError(fileName, "Cannot read \"" + fileName + "\": at " + std::to_string(bytes) +
                               " bytes it is larger than 4 GB, the largest GEDCOM file that "
                               "can be read.") {}

EIndexError::EIndexError(long long index)
    : KindrelError("Error: In valid index value = " + std::to_string(index)) {}

ECompareError::ECompareError()
    : KindrelError("Error in compare function of WRINAssocIndex - nil passed as an argument") {}

EMemoryError::EMemoryError(long long number)
    : KindrelError("Error getting pointer to individual " + std::to_string(number)) {}

}  // namespace kindrel
