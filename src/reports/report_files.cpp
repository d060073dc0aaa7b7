#include "reports/report_files.h"

#include <cctype>
#include <cstdio>
#include <string_view>

namespace kindrel {

namespace {

struct FormatInfo {
    const char* name;
    const char* extension;
    const char* filter;
};

const FormatInfo kFormats[] = {
    {"PDF", ".pdf", "PDF (*.pdf)"},
    {"HTML", ".html", "HTML (*.htm *.html)"},
    {"RTF", ".rtf", "Rich Text Format (*.rtf)"},
    {"JPEG", ".jpg", "JPEG (*.jpg *.jpeg)"},
    {"BMP", ".bmp", "Bitmap (*.bmp)"},
    {"PNG", ".png", "PNG (*.png)"},
    {"SVG", ".svg", "Scalable Vector Graphics (*.svg)"},
};

const FormatInfo& Info(WReportFormat format) {
    const int k = static_cast<int>(format);
    return kFormats[k >= 0 && k < static_cast<int>(WReportFormat::kCount) ? k : 0];
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The extension of the last path part, lower case with its dot; empty without one.
std::string ExtensionOf(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    if (dot == (slash == std::string::npos ? 0 : slash + 1)) return {};  // ".hidden"
    return Lower(fileName.substr(dot));
}

}  // namespace

const char* ReportFormatName(WReportFormat format) { return Info(format).name; }
const char* ReportFormatExtension(WReportFormat format) { return Info(format).extension; }
const char* ReportFormatFilter(WReportFormat format) { return Info(format).filter; }

bool IsImageFormat(WReportFormat format) {
    return format == WReportFormat::kJpeg || format == WReportFormat::kBmp ||
           format == WReportFormat::kPng || format == WReportFormat::kSvg;
}

bool ReportFormatOfName(const std::string& fileName, WReportFormat& format) {
    const std::string ext = ExtensionOf(fileName);
    if (ext.empty()) return false;
    if (ext == ".htm") {
        format = WReportFormat::kHtml;
        return true;
    }
    if (ext == ".jpeg") {
        format = WReportFormat::kJpeg;
        return true;
    }
    for (int k = 0; k < static_cast<int>(WReportFormat::kCount); ++k)
        if (ext == kFormats[k].extension) {
            format = static_cast<WReportFormat>(k);
            return true;
        }
    return false;
}

std::string ReportTargetName(const std::string& typed, WReportFormat& format) {
    if (ReportFormatOfName(typed, format)) return typed;
    return typed + ReportFormatExtension(format);
}

std::string ProposedReportFileName(const std::string& base, const std::string& ending) {
    std::string name = base + ending;
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string::npos)
            c = '_';
    }
    const size_t start = name.find_first_not_of(". ");
    name = start == std::string::npos ? std::string() : name.substr(start);
    // A base of only blanks and dots names nothing: the report's name alone.
    if (name.empty() || base.find_first_not_of(". ") == std::string::npos) {
        std::string plain = ending;
        if (plain.rfind(" - ", 0) == 0) plain = plain.substr(3);
        return plain.empty() ? std::string("Report") : plain;
    }
    return name;
}

std::string ReportPageFileName(const std::string& fileName, int k, int pages) {
    if (pages <= 1) return fileName;
    const std::string ext = ExtensionOf(fileName);
    const std::string stem = fileName.substr(0, fileName.size() - ext.size());
    char number[16];
    std::snprintf(number, sizeof number, "-%04d", k);
    return stem + number + fileName.substr(fileName.size() - ext.size());
}

}  // namespace kindrel
