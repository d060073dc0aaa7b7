#include "containers/errors.h"

namespace kindrel {

EFileError::EFileError(const std::string& fileName)
    : KindrelError("Error using the file " + fileName +
                   "\r\nPlease check that this file is not being used by another application."),
      m_fileName(fileName) {}

EIndexError::EIndexError(long long index)
    : KindrelError("Error: In valid index value = " + std::to_string(index)) {}

ECompareError::ECompareError()
    : KindrelError("Error in compare function of WRINAssocIndex - nil passed as an argument") {}

EMemoryError::EMemoryError(long long number)
    : KindrelError("Error getting pointer to individual " + std::to_string(number)) {}

}  // namespace kindrel
