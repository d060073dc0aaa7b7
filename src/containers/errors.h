// Exceptions that carry the system's own message texts to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace kindrel {

// Root of every error the system raises; what() is the text shown to the user.
class KindrelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file or mapping could not be created, opened, grown or mapped.
class EFileError : public KindrelError {
public:
    explicit EFileError(const std::string& fileName);
    const std::string& FileName() const { return m_fileName; }

private:
    std::string m_fileName;
};

// A record number outside its index ("Error: In valid index value = %d").
class EIndexError : public KindrelError {
public:
    explicit EIndexError(long long index);
};

// A compare function of an identifier index was handed a null record.
class ECompareError : public KindrelError {
public:
    ECompareError();
};

// A record head could not be resolved ("Error getting pointer to individual %d").
class EMemoryError : public KindrelError {
public:
    explicit EMemoryError(long long number);
};

}  // namespace kindrel
