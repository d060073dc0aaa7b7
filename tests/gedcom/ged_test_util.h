// Helpers of the GEDCOM collection tests: GEDCOM text written to a temporary file and
// loaded the way the viewer loads it.
#pragma once

#include "gedcom/ged_collection.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace kindrel::test {

// A GEDCOM file on disk opened and loaded as the viewer does; null (with a test failure for
// a file that does not open) when it cannot be read.
inline std::unique_ptr<WGEDCollection> OpenLoadedCollection(const std::string& path) {
    std::string error;
    std::unique_ptr<WGEDCollection> collection = OpenGedcomCollection(path, error);
    EXPECT_TRUE(collection) << error;
    if (!collection || !collection->LoadFile()) return nullptr;
    collection->AfterLoad();
    return collection;
}

// A file written for one test and removed afterwards.
class TempGedcom {
  public:
    TempGedcom(const std::string& bytes, const std::string& extension = ".ged") {
        static std::atomic<int> counter{0};
        m_path = (std::filesystem::temp_directory_path() /
                  ("kindrel_gedcom_" + std::to_string(::getpid()) + "_" +
                   std::to_string(counter++) + extension))
                     .string();
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    ~TempGedcom() { std::filesystem::remove(m_path); }
    TempGedcom(const TempGedcom&) = delete;
    TempGedcom& operator=(const TempGedcom&) = delete;
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

// A loaded collection over text; the file lives as long as the object.
struct LoadedText {
    explicit LoadedText(const std::string& bytes, bool afterLoad = true) : file(bytes) {
        std::string error;
        collection = OpenGedcomCollection(file.Path(), error);
        EXPECT_TRUE(collection) << error;
        if (!collection) return;
        loaded = collection->LoadFile();
        if (loaded && afterLoad) collection->AfterLoad();
    }
    WGEDCollection& operator*() { return *collection; }
    WGEDCollection* operator->() { return collection.get(); }

    TempGedcom file;
    std::unique_ptr<WGEDCollection> collection;
    bool loaded = false;
};

// Lines joined with CR LF, ending with one.
inline std::string Crlf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// Lines joined with LF, ending with one.
inline std::string Lf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\n";
    }
    return text;
}

}  // namespace kindrel::test
