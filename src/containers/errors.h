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

protected:
    // A file error with its own message text.
    EFileError(const std::string& fileName, const std::string& message);

private:
    std::string m_fileName;
};

// A name that is a folder, named pipe, device or socket where a file was expected.
class ENotRegularFile : public EFileError {
public:
    // kind names what the name is ("a named pipe").
    ENotRegularFile(const std::string& fileName, const std::string& kind);
    // What the name is ("a named pipe", "a folder", "a device", "a socket").
    const std::string& Kind() const { return m_kind; }

private:
    std::string m_kind;
};

// A GEDCOM file too large to be read (record offsets are 32-bit).
class EFileTooLarge : public EFileError {
public:
    EFileTooLarge(const std::string& fileName, long long bytes);
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
