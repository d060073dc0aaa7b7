// Opening GEDCOM files for the report tests.
#pragma once

#include "gedcom/ged_collection.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace kindrel::test {

inline std::unique_ptr<WGEDCollection> OpenReportFile(const std::string& path) {
    std::string error;
    std::unique_ptr<WGEDCollection> collection = OpenGedcomCollection(path, error);
    EXPECT_TRUE(collection) << path << ": " << error;
    if (!collection) return nullptr;
    EXPECT_TRUE(collection->LoadFile());
    collection->AfterLoad();
    return collection;
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

}  // namespace kindrel::test
